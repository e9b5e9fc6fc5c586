#pragma once
#include "Prompter.h"

// The real prompter: Qt dialogs with the title "Folium" and Japanese buttons.
class QtPrompter : public Prompter {
public:
    Answer message(const QString& text, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial) override;
    QString openFile(const QString& title, const QString& file, const QString& filter,
                     const QString& dir) override;
    QString openOrNewFile(const QString& title, const QString& file, const QString& filter,
                          const QString& dir) override;
    QString saveFile(const QString& title, const QString& file, const QString& filter,
                     const QString& dir) override;
    QString folder(const QString& title, const QString& start) override;
    std::optional<QColor> color(const QColor& initial) override;
    std::optional<QFont> font(const QFont& initial) override;
    std::optional<QColor> pickColor(const QColor& initial, const QString& title) override;
    std::unique_ptr<Progress> progress(const QString& text, qint64 nTotal) override;
};

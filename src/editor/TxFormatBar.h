#pragma once
// The format button bar vButton: font name and size, bold, italic,
// underline and paragraph alignment of the engine's selection. Inside
// headings the character buttons are restricted (headings keep their style).

#include <QWidget>

class TxEngine;
class QComboBox;
class QToolButton;

class TxFormatBar : public QWidget {
    Q_OBJECT
public:
    explicit TxFormatBar(QWidget* parent = nullptr);

    void attach(TxEngine* engine);
    // Shows the format at the caret.
    void refresh();
    // Inside a heading only alignment stays available.
    void setRestricted(bool restricted);
    bool restricted() const { return restricted_; }

private:
    QToolButton* toggle(const QString& name, const QString& text, const QString& tip);
    void applyFont();
    void applySize();

    TxEngine* engine_ = nullptr;
    QComboBox* font_ = nullptr;
    QComboBox* size_ = nullptr;
    QToolButton* bold_ = nullptr;
    QToolButton* italic_ = nullptr;
    QToolButton* underline_ = nullptr;
    QToolButton* align_[3] = {};
    bool restricted_ = false;
    bool updating_ = false;
};

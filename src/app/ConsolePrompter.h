#pragma once
// A Prompter for processes without windows (tools, benchmarks, test
// helpers): messages go to standard error, questions and dialogs are
// answered as if cancelled.

#include "Prompter.h"

#include <cstdio>

class ConsolePrompter : public Prompter {
public:
    Answer message(const QString& text, Buttons buttons, Icon) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    QString openFile(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString saveFile(const QString&, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString folder(const QString&, const QString&) override { return {}; }
    std::optional<QColor> color(const QColor&) override { return std::nullopt; }
    std::optional<QFont> font(const QFont&) override { return std::nullopt; }
};

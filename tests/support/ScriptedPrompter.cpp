#include "ScriptedPrompter.h"

#include <QDialog>
#include <gtest/gtest.h>

ScriptedPrompter::ScriptedPrompter() {
    Prompter::install(this);
}

ScriptedPrompter::~ScriptedPrompter() {
    Prompter::install(nullptr);
    for (const Reply& r : script_)
        ADD_FAILURE() << "scripted answer never asked for: " << r.kind.toStdString();
    if (!dialogs_.isEmpty())
        ADD_FAILURE() << dialogs_.size() << " scripted dialog(s) never shown";
    if (!printDialogs_.isEmpty())
        ADD_FAILURE() << printDialogs_.size() << " scripted print dialog(s) never shown";
}

void ScriptedPrompter::answerMessage(Answer a) {
    script_.append({"message", int(a)});
}
void ScriptedPrompter::answerInput(std::optional<QString> text) {
    script_.append({"input", text ? QVariant(*text) : QVariant()});
}
void ScriptedPrompter::answerOpenFile(const QString& path) {
    script_.append({"openFile", path});
}
void ScriptedPrompter::answerSaveFile(const QString& path) {
    script_.append({"saveFile", path});
}
void ScriptedPrompter::answerFolder(const QString& path) {
    script_.append({"folder", path});
}
void ScriptedPrompter::answerColor(std::optional<QColor> c) {
    script_.append({"color", c ? QVariant(*c) : QVariant()});
}
void ScriptedPrompter::answerFont(std::optional<QFont> f) {
    script_.append({"font", f ? QVariant(*f) : QVariant()});
}

void ScriptedPrompter::answerDialog(std::function<bool(QDialog&)> fill) {
    dialogs_.append(std::move(fill));
}

void ScriptedPrompter::answerPrintDialog(std::function<bool(QDialog&)> fill) {
    printDialogs_.append(std::move(fill));
}

QStringList ScriptedPrompter::messages() const {
    QStringList out;
    for (const Call& c : calls)
        if (c.kind == QLatin1String("message"))
            out << c.text;
    return out;
}

QVariant ScriptedPrompter::take(const QString& kind, bool* found) {
    for (qsizetype i = 0; i < script_.size(); ++i) {
        if (script_[i].kind == kind) {
            *found = true;
            return script_.takeAt(i).value;
        }
    }
    *found = false;
    return {};
}

Prompter::Answer ScriptedPrompter::message(const QString& text, Buttons buttons, Icon) {
    calls.append({"message", text, {}, {}, buttons});
    bool found = false;
    const QVariant v = take("message", &found);
    if (found)
        return Answer(v.toInt());
    if (buttons != Buttons::Ok || strict_)
        ADD_FAILURE() << "unexpected question: " << text.toStdString();
    return buttons == Buttons::Ok ? Answer::Ok : Answer::Cancel;
}

std::optional<QString> ScriptedPrompter::input(const QString& prompt, const QString& title,
                                               const QString& initial) {
    calls.append({"input", prompt, title, initial});
    bool found = false;
    const QVariant v = take("input", &found);
    if (!found)
        ADD_FAILURE() << "unexpected input box: " << prompt.toStdString();
    if (!found || v.isNull())
        return std::nullopt;
    return v.toString();
}

QString ScriptedPrompter::openFile(const QString& title, const QString& file, const QString& filter,
                                   const QString& dir) {
    calls.append({"openFile", file, title, filter + u'|' + dir});
    bool found = false;
    const QVariant v = take("openFile", &found);
    if (!found)
        ADD_FAILURE() << "unexpected open dialog: " << title.toStdString();
    return v.toString();
}

QString ScriptedPrompter::saveFile(const QString& title, const QString& file, const QString& filter,
                                   const QString& dir) {
    calls.append({"saveFile", file, title, filter + u'|' + dir});
    bool found = false;
    const QVariant v = take("saveFile", &found);
    if (!found)
        ADD_FAILURE() << "unexpected save dialog: " << title.toStdString();
    return v.toString();
}

QString ScriptedPrompter::folder(const QString& title, const QString& start) {
    calls.append({"folder", start, title, start});
    bool found = false;
    const QVariant v = take("folder", &found);
    if (!found)
        ADD_FAILURE() << "unexpected folder dialog: " << title.toStdString();
    return v.toString();
}

std::optional<QColor> ScriptedPrompter::color(const QColor& initial) {
    calls.append({"color", initial.name(), {}, {}});
    bool found = false;
    const QVariant v = take("color", &found);
    if (!found)
        ADD_FAILURE() << "unexpected colour dialog";
    if (!found || v.isNull())
        return std::nullopt;
    return v.value<QColor>();
}

std::optional<QFont> ScriptedPrompter::font(const QFont& initial) {
    calls.append({"font", initial.family(), {}, {}});
    bool found = false;
    const QVariant v = take("font", &found);
    if (!found)
        ADD_FAILURE() << "unexpected font dialog";
    if (!found || v.isNull())
        return std::nullopt;
    return v.value<QFont>();
}

std::unique_ptr<Prompter::Progress> ScriptedPrompter::progress(const QString& text, qint64 nTotal) {
    calls.append({QStringLiteral("progress"), text, {}, QString::number(nTotal)});
    struct Scripted : Progress {
        qint64 cancelAt;
        explicit Scripted(qint64 at) : cancelAt(at) {}
        bool step(qint64 nDone) override { return cancelAt < 0 || nDone < cancelAt; }
    };
    const qint64 at = cancelAt_;
    cancelAt_ = -1;
    return std::make_unique<Scripted>(at);
}

std::optional<QColor> ScriptedPrompter::pickColor(const QColor& initial, const QString& title) {
    const std::optional<QColor> c = color(initial);
    calls.back().title = title;
    return c;
}

bool ScriptedPrompter::exec(QDialog& dialog) {
    calls.append({"dialog", dialog.windowTitle(), dialog.windowTitle(), {}});
    if (dialogs_.isEmpty()) {
        ADD_FAILURE() << "unexpected dialog: " << dialog.windowTitle().toStdString();
        return false;
    }
    return dialogs_.takeFirst()(dialog);
}

bool ScriptedPrompter::printDialog(QDialog& dialog) {
    calls.append({"printDialog", dialog.windowTitle(), dialog.windowTitle(), {}});
    if (printDialogs_.isEmpty()) {
        ADD_FAILURE() << "unexpected print dialog: " << dialog.windowTitle().toStdString();
        return false;
    }
    return printDialogs_.takeFirst()(dialog);
}

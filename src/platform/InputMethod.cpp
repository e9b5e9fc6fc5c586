#include "InputMethod.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QStringList>

namespace InputMethod {

namespace {

// A tool that does not answer within this time is given up on: the editor
// waits for it on the user-interface thread.
constexpr int kTimeoutMs = 1500;

struct Found {
    bool detected = false;
    Framework framework = Framework::None;
    QString tool;
    // IBus: the keyboard engine to go back to when closing, and the language
    // engine last seen open.
    QString keyboardEngine;
    QString languageEngine;
};

Found& found() {
    static Found f;
    return f;
}

QString findTool(std::initializer_list<const char*> names) {
    for (const char* n : names) {
        const QString p = QStandardPaths::findExecutable(QString::fromLatin1(n));
        if (!p.isEmpty())
            return p;
    }
    return {};
}

void detect() {
    Found& f = found();
    if (f.detected)
        return;
    f = Found{};
    f.detected = true;
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString hint = (env.value(QStringLiteral("QT_IM_MODULE")) + u' ' +
                          env.value(QStringLiteral("XMODIFIERS")) + u' ' +
                          env.value(QStringLiteral("GTK_IM_MODULE")))
                             .toLower();
    const QString fcitx = findTool({"fcitx5-remote", "fcitx-remote"});
    const QString ibus = findTool({"ibus"});
    // The framework the environment names comes first; fcitx otherwise.
    const bool ibusFirst = hint.contains(QLatin1String("ibus")) && !ibus.isEmpty();
    if (!ibusFirst && !fcitx.isEmpty()) {
        f.framework = Framework::Fcitx;
        f.tool = fcitx;
    } else if (!ibus.isEmpty()) {
        f.framework = Framework::IBus;
        f.tool = ibus;
    }
}

// Runs the tool; its trimmed output, or nullopt when it failed.
std::optional<QString> run(const QStringList& args) {
    const Found& f = found();
    if (f.tool.isEmpty())
        return std::nullopt;
    QProcess p;
    p.setProcessChannelMode(QProcess::SeparateChannels);
    p.start(f.tool, args, QIODevice::ReadOnly);
    if (!p.waitForStarted(kTimeoutMs))
        return std::nullopt;
    p.closeWriteChannel();
    if (!p.waitForFinished(kTimeoutMs)) {
        p.kill();
        p.waitForFinished(kTimeoutMs);
        return std::nullopt;
    }
    if (p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        return std::nullopt;
    return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

bool isKeyboardEngine(const QString& engine) {
    return engine.startsWith(QLatin1String("xkb:"));
}

// The engines IBus has installed ("  mozc-jp - Mozc" lines; the language
// headings have no " - ").
QStringList ibusEngines() {
    const std::optional<QString> list = run({QStringLiteral("list-engine")});
    QStringList names;
    if (!list)
        return names;
    for (const QString& line : list->split(u'\n')) {
        const QString t = line.trimmed();
        const qsizetype dash = t.indexOf(QLatin1String(" - "));
        if (dash > 0)
            names << t.left(dash).trimmed();
    }
    return names;
}

// The language engine last seen open, else the first Japanese engine of
// those installed, in order of preference.
QString ibusLanguageEngine() {
    const Found& f = found();
    if (!f.languageEngine.isEmpty())
        return f.languageEngine;
    const QStringList names = ibusEngines();
    for (const char* want : {"mozc-jp", "anthy", "kkc", "skk"})
        if (names.contains(QString::fromLatin1(want)))
            return QString::fromLatin1(want);
    return {};
}

// The keyboard engine last seen, else the first one installed.
QString ibusKeyboardEngine() {
    const Found& f = found();
    if (!f.keyboardEngine.isEmpty())
        return f.keyboardEngine;
    for (const QString& n : ibusEngines())
        if (isKeyboardEngine(n))
            return n;
    return {};
}

bool ibusSetOpen(bool open) {
    Found& f = found();
    const std::optional<QString> now = run({QStringLiteral("engine")});
    if (!now)
        return false;
    if (isKeyboardEngine(*now))
        f.keyboardEngine = *now;
    else if (!now->isEmpty())
        f.languageEngine = *now;
    if (open == (!now->isEmpty() && !isKeyboardEngine(*now)))
        return true; // already so
    const QString target = open ? ibusLanguageEngine() : ibusKeyboardEngine();
    if (target.isEmpty())
        return false;
    return run({QStringLiteral("engine"), target}).has_value();
}

} // namespace

Framework Current() {
    detect();
    return found().framework;
}

QString Tool() {
    detect();
    return found().tool;
}

bool SetOpen(bool open) {
    switch (Current()) {
    case Framework::Fcitx:
        return run({open ? QStringLiteral("-o") : QStringLiteral("-c")}).has_value();
    case Framework::IBus:
        return ibusSetOpen(open);
    case Framework::None:
        break;
    }
    return false;
}

bool SetConversion(int mode) {
    if (!(mode & kNative))
        return false; // only native input is something the frameworks switch to
    // Both frameworks start their language engine in full-width romaji
    // input, and opening is what switches that engine on (a second open
    // changes nothing).
    return SetOpen(true);
}

std::optional<bool> IsOpen() {
    switch (Current()) {
    case Framework::Fcitx: {
        // fcitx5-remote prints 0 (not running), 1 (inactive) or 2 (active).
        const std::optional<QString> out = run({});
        if (!out)
            return std::nullopt;
        bool ok = false;
        const int state = out->toInt(&ok);
        if (!ok)
            return std::nullopt;
        return state == 2;
    }
    case Framework::IBus: {
        const std::optional<QString> out = run({QStringLiteral("engine")});
        if (!out)
            return std::nullopt;
        return !out->isEmpty() && !isKeyboardEngine(*out);
    }
    case Framework::None:
        break;
    }
    return std::nullopt;
}

void Reset() {
    found() = Found{};
}

} // namespace InputMethod

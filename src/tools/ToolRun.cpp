#include "ToolRun.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QProcess>
#include <QTimer>

namespace {

int gWaiting = 0;

// Drops every event that comes from the user: keys, mouse, wheel, touch,
// drag and drop, context menus, and the request to close a window. Paint,
// resize and timer events pass, so the windows stay drawn.
class InputBlocker : public QObject {
public:
    InputBlocker() { QCoreApplication::instance()->installEventFilter(this); }
    ~InputBlocker() override { QCoreApplication::instance()->removeEventFilter(this); }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::NonClientAreaMouseButtonRelease:
        case QEvent::NonClientAreaMouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::TabletMove:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::InputMethod:
        case QEvent::Close:
            e->ignore();
            return true;
        default:
            return false;
        }
    }
};

} // namespace

namespace ToolRun {

Result RunAndWait(const QString& program, const QStringList& args, int timeoutMs) {
    Result r;
    auto* proc = new QProcess;
    proc->setProgram(program);
    proc->setArguments(args);
    proc->setProcessChannelMode(QProcess::ForwardedChannels);
    // The tool reads nothing of ours: with the terminal's input it could
    // swallow keys or wait for a line that never comes.
    proc->setStandardInputFile(QProcess::nullDevice());
    QEventLoop loop;
    QObject::connect(proc, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(proc, &QProcess::errorOccurred, &loop, [&loop](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart)
            loop.quit();
    });
    QTimer limit;
    limit.setSingleShot(true);
    if (timeoutMs >= 0) {
        QObject::connect(&limit, &QTimer::timeout, &loop, &QEventLoop::quit);
        limit.start(timeoutMs);
    }
    {
        InputBlocker blocker;
        ++gWaiting;
        proc->start();
        if (proc->state() != QProcess::NotRunning || proc->error() != QProcess::FailedToStart)
            loop.exec();
        --gWaiting;
    }
    r.started = proc->error() != QProcess::FailedToStart;
    r.finished = r.started && proc->state() == QProcess::NotRunning;
    if (r.finished) {
        r.crashed = proc->exitStatus() == QProcess::CrashExit;
        r.exitCode = r.crashed ? -1 : proc->exitCode();
        delete proc;
    } else if (r.started) {
        // Still running: it goes on by itself and the object is released
        // when it ends.
        QObject::connect(proc, &QProcess::finished, proc, &QObject::deleteLater);
    } else {
        delete proc;
    }
    return r;
}

QString Output(const QString& program, const QStringList& args, int timeoutMs) {
    QProcess proc;
    proc.setProgram(program);
    proc.setArguments(args);
    proc.setProcessChannelMode(QProcess::SeparateChannels);
    proc.setStandardInputFile(QProcess::nullDevice());
    proc.start();
    if (!proc.waitForStarted(timeoutMs))
        return {};
    if (!proc.waitForFinished(timeoutMs)) {
        proc.kill();
        proc.waitForFinished(1000);
        return {};
    }
    if (proc.exitStatus() != QProcess::NormalExit || proc.exitCode() != 0)
        return {};
    return QString::fromLocal8Bit(proc.readAllStandardOutput());
}

bool Start(const QString& program, const QStringList& args) {
    return QProcess::startDetached(program, args);
}

bool Waiting() {
    return gWaiting > 0;
}

} // namespace ToolRun

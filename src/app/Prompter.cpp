#include "Prompter.h"
#include "QtPrompter.h"

#include <QDialog>
#include <QPointer>
#include <QStringList>
#include <QWidget>

namespace {
Prompter* g_installed = nullptr;
QPointer<QWidget> g_owner;
} // namespace

Prompter::~Prompter() = default;
Prompter::Progress::~Progress() = default;

std::unique_ptr<Prompter::Progress> Prompter::progress(const QString&, qint64) {
    struct Silent : Progress {
        bool step(qint64) override { return true; }
    };
    return std::make_unique<Silent>();
}

std::optional<QColor> Prompter::pickColor(const QColor& initial, const QString&) {
    return color(initial);
}

bool Prompter::exec(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

bool Prompter::printDialog(QDialog& dialog) {
    return exec(dialog);
}

QString Prompter::openOrNewFile(const QString& title, const QString& file, const QString& filter,
                                const QString& dir) {
    return openFile(title, file, filter, dir);
}

Prompter& Prompter::instance() {
    static QtPrompter real;
    return g_installed ? *g_installed : real;
}

void Prompter::install(Prompter* p) {
    g_installed = p;
}
void Prompter::setOwner(QWidget* owner) {
    g_owner = owner;
}
QWidget* Prompter::owner() {
    return g_owner.data();
}

QString toQtFilter(const QString& filter) {
    if (!filter.contains(u'|'))
        return filter;
    const QStringList parts = filter.split(u'|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(u';', u' ');
        out << QStringLiteral("%1 (%2)").arg(parts[i], patterns);
    }
    return out.join(QStringLiteral(";;"));
}

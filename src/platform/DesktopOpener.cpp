#include "DesktopOpener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QRegularExpression>
#include <QString>
#include <QUrl>

namespace DesktopOpener {
namespace {

Opener& installed() {
    static Opener opener;
    return opener;
}

} // namespace

bool open(const QUrl& url) {
    if (url.isEmpty() || !url.isValid())
        return false;
    if (const Opener& o = installed())
        return o(url);
    return QDesktopServices::openUrl(url);
}

void setOpener(Opener opener) {
    installed() = std::move(opener);
}

QUrl urlFor(const QString& text) {
    if (text.isEmpty())
        return {};
    // Two letters or more before the colon: a one-letter "scheme" would be a
    // drive letter of a path written the Windows way.
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]+:"));
    if (scheme.match(text).hasMatch()) {
        QUrl url(text, QUrl::TolerantMode);
        if (url.isValid())
            return url;
    }
    return QUrl::fromLocalFile(QFileInfo(text).absoluteFilePath());
}

Scoped::Scoped(Opener opener) : previous_(installed()) {
    installed() = std::move(opener);
}
Scoped::~Scoped() {
    installed() = std::move(previous_);
}

} // namespace DesktopOpener

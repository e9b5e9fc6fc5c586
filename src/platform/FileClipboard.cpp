#include "FileClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <QtEndian>

namespace FileClipboard {
namespace {

const QString kGnome = QStringLiteral("x-special/gnome-copied-files");
const QString kKde = QStringLiteral("application/x-kde-cutselection");
// Qt on Windows maps this name to the registered clipboard format.
const QString kDropEffect =
    QStringLiteral("application/x-qt-windows-mime;value=\"Preferred DropEffect\"");

QClipboard* clipboard() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
               ? QGuiApplication::clipboard()
               : nullptr;
}

QStringList localPaths(const QList<QUrl>& urls) {
    QStringList out;
    for (const QUrl& u : urls)
        if (u.isLocalFile() && !u.toLocalFile().isEmpty())
            out << u.toLocalFile();
    return out;
}

} // namespace

QMimeData* makeMimeData(const QStringList& paths, int effect) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    data->setUrls(urls);
    data->setText(paths.join(u'\n'));

    const bool cut = effect == kCut;
    QByteArray gnome = cut ? "cut" : "copy";
    for (const QUrl& u : urls)
        gnome += '\n' + u.toEncoded();
    data->setData(kGnome, gnome);
    data->setData(kKde, cut ? "1" : "0");
    QByteArray drop(4, '\0');
    qToLittleEndian<quint32>(quint32(cut ? kCut : kCopy), drop.data());
    data->setData(kDropEffect, drop);
    return data;
}

Content parse(const QMimeData* data) {
    Content c;
    if (!data)
        return c;
    c.paths = localPaths(data->urls());

    if (data->hasFormat(kGnome)) {
        const QList<QByteArray> lines = data->data(kGnome).split('\n');
        const QByteArray verb = lines.value(0).trimmed();
        if (verb == "cut")
            c.effect = kCut;
        else if (verb == "copy")
            c.effect = kCopy;
        if (c.paths.isEmpty()) {
            QList<QUrl> urls;
            for (qsizetype i = 1; i < lines.size(); ++i)
                if (!lines[i].trimmed().isEmpty())
                    urls << QUrl::fromEncoded(lines[i].trimmed());
            c.paths = localPaths(urls);
        }
    }
    if (c.effect == kNone && data->hasFormat(kKde)) {
        const QByteArray v = data->data(kKde);
        c.effect = v.startsWith('1') ? kCut : v.startsWith('0') ? kCopy : kNone;
    }
    if (c.effect == kNone && data->hasFormat(kDropEffect)) {
        const QByteArray v = data->data(kDropEffect);
        if (v.size() >= 4)
            c.effect = int(qFromLittleEndian<quint32>(v.constData()));
    }
    return c;
}

bool put(const QStringList& paths, int effect) {
    QClipboard* cb = clipboard();
    if (!cb || paths.isEmpty())
        return false;
    cb->setMimeData(makeMimeData(paths, effect));
    return true;
}

Content read() {
    QClipboard* cb = clipboard();
    return cb ? parse(cb->mimeData()) : Content{};
}

bool holdsFiles() {
    return !read().paths.isEmpty();
}

void clear() {
    if (QClipboard* cb = clipboard())
        cb->clear();
}

} // namespace FileClipboard

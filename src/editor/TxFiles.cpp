#include "TxFiles.h"

#include "Converter.h"
#include "TxText.h"

#include <QDir>
#include <QFileInfo>

namespace TxFiles {

namespace {
QString filterOf(const QList<int>& formats, bool saving = false) {
    return formats::Converter::instance().dialogFilter(formats, saving);
}
constexpr int kTxt = 1, kHtm = 4, kRtf = 5, kDoc = 9, kPdf = 12, kDocx = 13;
} // namespace

QString OpenFilter() {
    return filterOf({kDoc, kDocx, kRtf, kTxt, kHtm});
}

QString InsertTextFilter() {
    return filterOf({kTxt, kDoc, kDocx, kRtf, kHtm});
}

// The save-as dialog's filter ends with its separator, as it always has.
QString SaveAsFilter() {
    return filterOf({kDoc, kDocx, kRtf, kHtm, kPdf, kTxt}, true) + u'|';
}

QString SaveHtmFilter() {
    return filterOf({kHtm});
}

QString ExtDocFilter() {
    return filterOf({kDoc, kDocx, kRtf, kTxt});
}

QString PictureFilter() {
    return QStringLiteral("画像ﾌｧｲﾙ (*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.tif;*.tiff;*.wmf;*.emf)|"
                          "*.png;*.jpg;*.jpeg;*.bmp;*.gif;*.tif;*.tiff;*.wmf;*.emf");
}

QString MetafileFilter() {
    return QStringLiteral("ﾒﾀﾌｧｲﾙ (*.wmf;*.emf;*.svg)|*.wmf;*.emf;*.svg");
}

int FilterIndexOf(const QString& file) {
    const QString ext = QFileInfo(file).suffix().toLower();
    if (ext == QLatin1String("docx"))
        return 2;
    if (ext == QLatin1String("rtf"))
        return 3;
    if (ext == QLatin1String("txt"))
        return 4;
    return 1;
}

QString KeptCopy(const QString& wrkFd, const QDate& today) {
    if (wrkFd.isEmpty())
        return {};
    const QDir dir(wrkFd);
    // File names compare without regard to case: "temp.doc" is the same copy.
    const QStringList hits = dir.entryList({QStringLiteral("[Tt][Ee][Mm][Pp].[Dd][Oo][Cc]")},
                                           QDir::Files | QDir::Readable);
    for (const QString& name : hits) {
        const QFileInfo fi(dir.filePath(name));
        const QDate modified = fi.lastModified().date();
        if (modified.year() == today.year() && modified.month() == today.month())
            return fi.absoluteFilePath();
    }
    return {};
}

QString InsertableText(const QString& engineText) {
    QString out;
    out.reserve(engineText.size());
    for (const QChar c : engineText) {
        if (c == TxText::kPara || c == TxText::kPage)
            out += TxText::kLine;
        else if (c != TxText::kObject)
            out += c;
    }
    // The file's own last paragraph end is no line of the text.
    while (out.endsWith(TxText::kLine))
        out.chop(1);
    return out;
}

QString PasteText(const QString& clip) {
    QString text = clip.trimmed();
    text.replace(QStringLiteral("\r\n"), QString(TxText::kLine));
    text.replace(u'\n', TxText::kLine);
    text.replace(u'\r', TxText::kLine);
    return text;
}

int PictureScale(int screenDpi) {
    return screenDpi > 0 ? (9600 + screenDpi / 2) / screenDpi : 100;
}

bool KeepsDepth(int bitsPerPixel) {
    return bitsPerPixel == 1 || bitsPerPixel == 4 || bitsPerPixel == 8 || bitsPerPixel == 24;
}

int FlowOf(int iFlw) {
    return iFlw >= 2 && iFlw <= 4 ? iFlw - 1 : 0;
}

} // namespace TxFiles

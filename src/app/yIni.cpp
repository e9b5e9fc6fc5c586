#include "yIni.h"
#include "Prompter.h"
#include "Registry.h"
#include "TextCodec.h"
#include "Usr.h"
#include "mClt.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSaveFile>
#include <QStandardPaths>
#include <climits>
#include <cmath>

namespace {

const QString kCrLf = QStringLiteral("\r\n");
const QString kRoot = QString::fromUtf16(kIniRoot);
const QString kHeader = QStringLiteral("<?xml version='1.0' encoding='Shift-JIS' ?>");

// The encoding named in the header of a settings file ("Shift-JIS" unless it
// says otherwise).
bool headerSaysUtf8(const QByteArray& bytes) {
    const QByteArray head = bytes.left(bytes.indexOf('>') + 1).toLower();
    return head.contains("encoding='utf-8'") || head.contains("encoding=\"utf-8\"");
}

QString withHeaderEncoding(QString xml, const QString& encoding) {
    static const QRegularExpression re(
        QStringLiteral("^(<\\?xml[^>]*encoding=['\"])([^'\"]*)(['\"])"));
    xml.replace(re, QStringLiteral("\\1") + encoding + QStringLiteral("\\3"));
    return xml;
}

// The leading number of a text, as the classic Val() reads it: spaces
// skipped, optional sign, digits with one decimal point, optional exponent.
double leadingNumber(const QString& text) {
    QString s = text;
    s.remove(u' ');
    qsizetype i = 0;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-'))
        ++i;
    const qsizetype digitsFrom = i;
    bool point = false;
    while (i < s.size() && (s[i].isDigit() || (s[i] == u'.' && !point))) {
        if (s[i] == u'.')
            point = true;
        ++i;
    }
    if (i == digitsFrom)
        return 0;
    if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == u'+' || s[j] == u'-'))
            ++j;
        if (j < s.size() && s[j].isDigit()) {
            while (j < s.size() && s[j].isDigit())
                ++j;
            i = j;
        }
    }
    return s.left(i).toDouble();
}

// Values and names are written so that no character of theirs can be taken
// for markup or for the file's own line structure: < > & as entities, and
// the line-break characters and "‡" (which MakeTag turns into line breaks)
// as character references.
QString escapeText(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&':
            out += QStringLiteral("&amp;");
            break;
        case u'<':
            out += QStringLiteral("&lt;");
            break;
        case u'>':
            out += QStringLiteral("&gt;");
            break;
        case u'\r':
            out += QStringLiteral("&#13;");
            break;
        case u'\n':
            out += QStringLiteral("&#10;");
            break;
        case u'‡':
            out += QStringLiteral("&#8225;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The character an entity or character reference at text[i] ("&...;")
// stands for, and its length; 0 when there is none there.
char32_t entityAt(const QString& text, qsizetype i, qsizetype& length) {
    const qsizetype semi = text.indexOf(u';', i + 1);
    if (semi < 0 || semi - i > 10)
        return 0;
    const QStringView body = QStringView(text).mid(i + 1, semi - i - 1);
    length = semi - i + 1;
    if (body == u"amp")
        return u'&';
    if (body == u"lt")
        return u'<';
    if (body == u"gt")
        return u'>';
    if (body == u"quot")
        return u'"';
    if (body == u"apos")
        return u'\'';
    if (body.size() < 2 || body[0] != u'#')
        return 0;
    const bool hex = body[1] == u'x' || body[1] == u'X';
    const QStringView digits = body.mid(hex ? 2 : 1);
    bool ok = false;
    const uint code = digits.isEmpty() || digits[0] == u'+' || digits[0] == u'-'
                          ? 0
                          : digits.toUInt(&ok, hex ? 16 : 10);
    // Only real characters: no NUL, no surrogate halves, nothing past U+10FFFF.
    if (!ok || code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return code;
}

// The reverse of escapeText. Files written before values were escaped hold
// bare "&"; an "&" that does not start a known entity or a character
// reference stays as it is, so those values read back unchanged.
QString unescapeText(const QString& text) {
    if (!text.contains(u'&'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype length = 0;
        const char32_t code = text[i] == u'&' ? entityAt(text, i, length) : 0;
        if (code == 0) {
            out += text[i];
            continue;
        }
        out += QString::fromUcs4(&code, 1);
        i += length - 1;
    }
    return out;
}

} // namespace

yIni& settings() {
    static yIni instance;
    return instance;
}

QString yIni::MakeTag(int nMode, const QString& sTag, const QString& vVL) {
    const QString br = QStringLiteral("‡");
    QString block;
    switch (nMode) {
    case 0:
        block = kHeader + br + u'<' + sTag + u'>' + vVL + QStringLiteral("</") + sTag + u'>';
        break;
    case 1:
        block = QStringLiteral("   <") + sTag + u'>' + br + vVL + QStringLiteral("   </") + sTag +
                u'>' + br;
        break;
    default:
        block =
            QStringLiteral("      <") + sTag + u'>' + vVL + QStringLiteral("</") + sTag + u'>' + br;
        break;
    }
    block.replace(br, kCrLf);
    return block;
}

void yIni::GetTxt(const QString& sFL, bool& bOk) {
    bOk = false;
    sXml.clear();
    sXmlPh = sFL;
    const qsizetype dv = sXmlPh.indexOf(QLatin1String("_DV.xml"), 0, Qt::CaseInsensitive);
    if (dv >= 0)
        sXmlPh.replace(dv, 7, QStringLiteral(".xml"));

    QFile f(sXmlPh);
    if (f.exists()) {
        if (!f.open(QIODevice::ReadOnly))
            return;
        const QByteArray bytes = f.readAll();
        const QString text =
            headerSaysUtf8(bytes) ? QString::fromUtf8(bytes) : TextCodec::fromCp932(bytes);
        const bool firstLineEmpty =
            text.isEmpty() || text.startsWith(u'\r') || text.startsWith(u'\n');
        if (!firstLineEmpty)
            sXml = text;
    } else {
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
            return;
        f.close();
    }
    if (sXml.isEmpty())
        sXml = MakeTag(0, kRoot, kCrLf);
    bOk = true;
}

QString yIni::GetTag(int nMode, const QString& sTag) const {
    const QString& hay = nMode == 0 ? sXml : sGrp;
    if (hay.isEmpty())
        return {};
    const QString tag = escapeText(sTag);
    const qsizetype s = hay.indexOf(u'<' + tag + u'>');
    const qsizetype e = hay.indexOf(QStringLiteral("</") + tag + u'>');
    if (s < 0 && e < 0)
        return {};
    if (s >= 0 && e >= 0 && e >= s) {
        const qsizetype p = s + tag.size() + 2;
        if (nMode != 0)
            return unescapeText(hay.mid(p, std::max<qsizetype>(0, e - p)));
        return hay.mid(p + 2, std::max<qsizetype>(0, e - p - 5));
    }
    Prompter::instance().message(u'<' + sTag + QStringLiteral("> の設定が読み込めません") + u'\r' +
                                 QStringLiteral("ﾕｰｻﾞｰ環境ﾌｧｲﾙ(") + sXmlPh +
                                 QStringLiteral(") が破損しています"));
    return {};
}

void yIni::GetGtx(const QString& sGp) {
    sGrpNm = sGp;
    sGrp = GetTag(0, sGp);
}

QString yIni::vGtVal(const QString& sKy, const QString& vDef) const {
    const QString v = GetTag(1, sKy);
    return v.isEmpty() ? vDef : v;
}

bool yIni::vGtVal(const QString& sKy, bool vDef) const {
    const QString v = GetTag(1, sKy);
    if (v.isEmpty())
        return vDef;
    const QString t = v.trimmed();
    if (t.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    throw ValueError(QStringLiteral("%1: %2 is not True or False").arg(sKy, v).toStdString());
}

double yIni::vGtVal(const QString& sKy, double vDef) const {
    const QString v = GetTag(1, sKy);
    return v.isEmpty() ? vDef : leadingNumber(v);
}

int yIni::vGtVal(const QString& sKy, int vDef) const {
    const double d = vGtVal(sKy, static_cast<double>(vDef));
    if (!std::isfinite(d) || d > INT_MAX || d < INT_MIN)
        return vDef;
    return static_cast<int>(std::lrint(d));
}

QDateTime yIni::vGtVal(const QString& sKy, const QDateTime& vDef) const {
    const QString v = GetTag(1, sKy).trimmed();
    for (const QString& fmt :
         {QStringLiteral("yyyy/MM/dd HH:mm:ss"), QStringLiteral("yyyy-MM-dd HH:mm:ss"),
          QStringLiteral("yyyy/MM/dd"), QStringLiteral("yyyy-MM-dd")}) {
        const QDateTime d = QDateTime::fromString(v, fmt);
        if (d.isValid())
            return d;
    }
    const QDateTime iso = QDateTime::fromString(v, Qt::ISODate);
    return iso.isValid() ? iso : vDef;
}

void yIni::SetVal(const QString& sKy, const QString& vVL) {
    const QString key = escapeText(sKy);
    const QString value = escapeText(vVL);
    const qsizetype s = sGrp.indexOf(u'<' + key + u'>');
    if (s >= 0) {
        const qsizetype q = s + key.size() + 1; // the start tag's ">"
        const qsizetype e = sGrp.indexOf(QStringLiteral("</") + key + u'>', q + 1);
        if (e >= 0) {
            sGrp = sGrp.left(q + 1) + value + sGrp.mid(e);
            return;
        }
    }
    sGrp += MakeTag(2, key, value);
}

void yIni::SetVal(const QString& sKy, bool vVL) {
    SetVal(sKy, vVL ? QStringLiteral("True") : QStringLiteral("False"));
}
void yIni::SetVal(const QString& sKy, int vVL) {
    SetVal(sKy, QString::number(vVL));
}
void yIni::SetVal(const QString& sKy, double vVL) {
    SetVal(sKy, QString::number(vVL, 'g', 15));
}

void yIni::SetGtx() {
    if (sXml.isEmpty())
        sXml = MakeTag(0, kRoot, kCrLf);
    const QString name = escapeText(sGrpNm);
    const qsizetype s = sXml.indexOf(u'<' + name + u'>');
    if (s >= 0) {
        const qsizetype q = s + name.size() + 4; // through the CR LF after the start tag
        const qsizetype e = sXml.indexOf(QStringLiteral("</") + name + u'>', q - 1);
        if (e >= 0) {
            sXml = sXml.left(q) + sGrp + QStringLiteral("   ") + sXml.mid(e);
            return;
        }
    }
    const qsizetype rootEnd = sXml.indexOf(QStringLiteral("</") + kRoot + u'>');
    if (rootEnd < 0)
        throw DocumentError("the settings document has no root end tag");
    sXml.insert(rootEnd, MakeTag(1, name, sGrp));
}

void yIni::SetTxt(bool& bOk) {
    bOk = false;
    if (sXmlPh.isEmpty())
        return;
    // Shift-JIS as the header says, unless a value has no Shift-JIS form: then
    // the whole file is UTF-8 and the header says so, so nothing is lost.
    bool lossless = true;
    QByteArray bytes =
        TextCodec::toCp932(withHeaderEncoding(sXml, QStringLiteral("Shift-JIS")), &lossless);
    if (!lossless)
        bytes = withHeaderEncoding(sXml, QStringLiteral("UTF-8")).toUtf8();
    QSaveFile f(sXmlPh);
    if (!f.open(QIODevice::WriteOnly))
        return;
    f.write(bytes);
    bOk = f.commit();
}

// ---------------------------------------------------------------- start-up

void yIni::W_UserData(qintptr whnd) {
    nWhnd = whnd;
    const QString progFd = Usr::ProgramFolder();
    const QString exe = progFd + Usr::sAppNm;
    const QString section = QStringLiteral("Path");
    if (Registry::GetSetting(section, Usr::sAppNm).compare(exe, Qt::CaseInsensitive) != 0)
        Registry::SaveSetting(section, Usr::sAppNm, exe);

    const QString defaultFd =
        FsGtSpFld(26) + QStringLiteral("/Veltrin/") + Usr::sAppNm + QStringLiteral("/");
    QString spec = QStringLiteral("%applicaion data%");
    const QString ini = progFd + QStringLiteral("UserData.ini");
    Prompter& ask = Prompter::instance();
    if (mClt::FileExist(ini)) {
        // Editors end a file with a line break; trailing breaks and blanks
        // are not part of the folder specification.
        QString text = mClt::ReadText(ini);
        while (!text.isEmpty() && (text.back() == u'\r' || text.back() == u'\n' ||
                                   text.back() == u' ' || text.back() == u'\t'))
            text.chop(1);
        if (text.isEmpty() || text.startsWith(u'\r') || text.startsWith(u'\n'))
            ask.message(QStringLiteral(" ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞが定義されていません") + u'\r' + defaultFd +
                        QStringLiteral(" を使用します"));
        else
            spec = text;
    } else {
        ask.message(ini + QStringLiteral(" が見つかりません") + u'\r' +
                    QStringLiteral("ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞは　") + defaultFd +
                    QStringLiteral(" を使用します"));
    }

    const QString lower = spec.toLower();
    QString folder;
    if (lower == QLatin1String("%app%"))
        folder = progFd + QStringLiteral("usData/");
    else if (lower == QLatin1String("%usr%") || lower == QLatin1String("%applicaion data%"))
        folder = defaultFd;
    else if (lower == QLatin1String("%doc") || lower == QLatin1String("%my document%"))
        folder = FsGtSpFld(5) + QStringLiteral("/Veltrin/") + Usr::sAppNm + QStringLiteral("/");
    else if (lower.startsWith(u'%'))
        folder = defaultFd;
    else if (mClt::FldExist(lower))
        folder = lower;
    else if (mClt::FldExist(spec))
        // On a case-sensitive file system the lower-cased path names another
        // folder; the folder as written is the one the user meant.
        folder = spec;
    else {
        ask.message(QStringLiteral("ﾌｫﾙﾀﾞ ") + lower + QStringLiteral(" が見つかりません") + u'\r' +
                    QStringLiteral("ﾕｰｻﾞｰﾃﾞｰﾀｰﾌｫﾙﾀﾞは　") + defaultFd +
                    QStringLiteral(" を使用します"));
        folder = defaultFd;
    }
    if (!folder.endsWith(u'/'))
        folder += u'/';
    Usr::sUsrFd = folder;
    if (!mClt::FldExist(folder))
        F_CreateFld(folder);
}

void yIni::F_ChkSb(const QString& sPh, const QStringList& names) {
    for (const QString& n : names)
        if (!mClt::FldExist(sPh + n))
            QDir().mkdir(sPh + n);
}

void yIni::F_CreateFld(const QString& sFd) {
    mClt::CreateFolderWalk(sFd);
}

QString yIni::FsGtSpFld(int nFlg) {
    QString path;
    switch (nFlg) {
    case 5:
        path = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        break;
    case 6:
        path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
               QStringLiteral("/Veltrin/Favorites");
        break;
    case 9:
        path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
               QStringLiteral("/applications");
        break;
    case 26:
        path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
        break;
    default:
        return {};
    }
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

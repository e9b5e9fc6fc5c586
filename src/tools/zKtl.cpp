#include "zKtl.h"

#include "Prompter.h"
#include "Registry.h"
#include "ToolRun.h"
#include "Usr.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

struct ToolInfo {
    const char* name;
    const char16_t* label;
};
const ToolInfo kTools[zKtl::ToolCount] = {
    {"Tarnel", u"画像"}, {"Danvek", u"ｸﾞﾗﾌ"}, {"Pelion", u"ﾁｬｰﾄ"},
    {"Orwent", u"FTP"},  {"Sivane", u"宛名"}, {"Morlet", u"文書ﾃﾞｰﾀｰﾍﾞｰｽ"},
};

#ifdef Q_OS_WIN
const QString kExeSuffix = QStringLiteral(".exe");
#else
const QString kExeSuffix;
#endif

const QString kNoParamFile = QStringLiteral("ﾊﾟﾗﾒﾀﾌｧｲﾙを作成できませんでした");

std::unique_ptr<zKtl> gShared;

bool validIndex(int i) {
    return i >= 0 && i < zKtl::ToolCount;
}

// The sub-folders of `dir`, sorted by name so the search is repeatable.
QFileInfoList subFolders(const QString& dir) {
    return QDir(dir).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
}

// The parent of the program's folder: where the tools are looked for first.
QString programParent() {
    QDir d(Usr::ProgramFolder());
    return d.cdUp() ? d.absolutePath() : QString();
}

void tell(const QString& text) {
    Prompter::instance().message(text, Prompter::Buttons::Ok, Prompter::Icon::Warning);
}

} // namespace

QString zKtl::Name(int iNdx) {
    return validIndex(iNdx) ? QString::fromLatin1(kTools[iNdx].name) : QString();
}

QString zKtl::Label(int iNdx) {
    return validIndex(iNdx) ? QString::fromUtf16(kTools[iNdx].label) : QString();
}

QString zKtl::ExeName(int iNdx) {
    return validIndex(iNdx) ? Name(iNdx) + kExeSuffix : QString();
}

QString zKtl::Section() {
    return QStringLiteral("Path");
}

QString zKtl::ParamFile(int iNdx) {
    switch (iNdx) {
    case Tarnel:
        return QStringLiteral("PC_HT.pdat");
    case Danvek:
        return QStringLiteral("GR_HT.pdat");
    case Pelion:
        return QStringLiteral("CH_HT.pdat");
    default:
        return {};
    }
}

bool zKtl::IsToolExe(int iNdx, const QString& sPath) {
    if (!validIndex(iNdx) || sPath.isEmpty())
        return false;
    const QFileInfo fi(sPath);
    return fi.fileName().compare(ExeName(iNdx), Qt::CaseInsensitive) == 0 && fi.isFile() &&
           fi.isExecutable();
}

zKtl::zKtl() {
    for (int i = 0; i < ToolCount; ++i) {
        const QString path = Registry::GetSetting(Section(), Name(i));
        if (IsToolExe(i, path))
            aExe[size_t(i)] = path;
    }
}

zKtl& zKtl::Shared() {
    if (!gShared)
        gShared = std::make_unique<zKtl>();
    return *gShared;
}

void zKtl::Release() {
    gShared.reset();
}

QString zKtl::Exe(int iNdx) const {
    return validIndex(iNdx) ? aExe[size_t(iNdx)] : QString();
}

void zKtl::GetExePh(QString& sPhP, const QString& sNm, const QString& sExe, QString& sAp) {
    sAp.clear();
    sPhP = programParent();
    if (sPhP.isEmpty())
        return;
    // The first folder named after the tool that holds its executable.
    auto tryFolder = [&](const QFileInfo& dir) {
        if (dir.fileName().compare(sNm, Qt::CaseInsensitive) != 0)
            return false;
        const QString candidate = dir.absoluteFilePath() + u'/' + sExe;
        const QFileInfo fi(candidate);
        if (!fi.isFile() || !fi.isExecutable())
            return false;
        sAp = candidate;
        return true;
    };
    for (const QFileInfo& d : subFolders(sPhP))
        if (tryFolder(d))
            return;
    QDir grand(sPhP);
    if (!grand.cdUp() || grand.absolutePath() == sPhP)
        return;
    for (const QFileInfo& sibling : subFolders(grand.absolutePath())) {
        if (sibling.absoluteFilePath() == sPhP)
            continue;
        if (tryFolder(sibling))
            return;
        for (const QFileInfo& d : subFolders(sibling.absoluteFilePath()))
            if (tryFolder(d))
                return;
    }
}

bool zKtl::bFindApp(int iNdx) {
    if (!validIndex(iNdx))
        return false;
    QString& exe = aExe[size_t(iNdx)];
    if (IsToolExe(iNdx, exe))
        return true;
    QString parent, found;
    GetExePh(parent, Name(iNdx), ExeName(iNdx), found);
    if (!IsToolExe(iNdx, found)) {
        exe.clear();
        return false;
    }
    exe = QFileInfo(found).absoluteFilePath();
    Registry::SaveSetting(Section(), Name(iNdx), exe);
    return true;
}

bool zKtl::bChkApp(int iNdx) {
    if (!validIndex(iNdx))
        return false;
    if (bFindApp(iNdx))
        return true;
    const QString chosen = Prompter::instance().openFile(
        Label(iNdx) + QStringLiteral(" 実行ﾌｧｲﾙの指定"), ExeName(iNdx),
        QStringLiteral("実行ﾌｧｲﾙ(*%1)|*%1").arg(kExeSuffix), programParent());
    if (!IsToolExe(iNdx, chosen))
        return false;
    aExe[size_t(iNdx)] = QFileInfo(chosen).absoluteFilePath();
    Registry::SaveSetting(Section(), Name(iNdx), aExe[size_t(iNdx)]);
    return true;
}

bool zKtl::runEditor(int iNdx, zKtlRec::Record& rec) {
    const QString param = Usr::sWrkFd + ParamFile(iNdx);
    const std::optional<QByteArray> bytes = zKtlRec::Encode(rec);
    {
        QSaveFile f(param);
        if (!bytes || !f.open(QIODevice::WriteOnly) || f.write(*bytes) != bytes->size() ||
            !f.commit()) {
            tell(kNoParamFile);
            return false;
        }
    }
    const ToolRun::Result run = ToolRun::RunAndWait(aExe[size_t(iNdx)], {param});
    if (!run.started) {
        tell(Label(iNdx) + QStringLiteral(" (") + aExe[size_t(iNdx)] +
             QStringLiteral(") を起動できませんでした"));
        return false;
    }
    QFile f(param);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const std::optional<zKtlRec::Record> back = zKtlRec::Decode(f.readAll(), rec.kind);
    if (!back)
        return false;
    rec = *back;
    return true;
}

void zKtl::ActPic(int iTy, const QString& sPh, QString& sFL, int gWd, int gHi, bool& bGf,
                  bool& bOk) {
    bGf = bOk = false;
    if (!bChkApp(Tarnel))
        return;
    zKtlRec::Record rec;
    rec.kind = zKtlRec::Kind::Image;
    rec.sSrc = sPh;
    rec.sPattern = QStringLiteral("*.png");
    rec.sResult = iTy == 3 ? QStringLiteral("*.*") : QStringLiteral("*.png");
    rec.nWidth = gWd;
    rec.nHeight = gHi;
    if (!runEditor(Tarnel, rec))
        return;
    sFL = rec.sResult;
    bGf = rec.iFlag1 != 0;
    bOk = rec.iFlag2 != 0;
}

void zKtl::ActGrph(const QString& sPh, QString& sFL, bool& bOk) {
    bOk = false;
    if (!bChkApp(Danvek))
        return;
    zKtlRec::Record rec;
    rec.kind = zKtlRec::Kind::Chart;
    rec.sSrc = sPh;
    rec.sPattern = QStringLiteral("*.bmp");
    if (!runEditor(Danvek, rec))
        return;
    sFL = rec.sResult;
    bOk = rec.iFlag1 != 0;
}

void zKtl::ActChrt(const QString& sPh, QString& sFL, bool& bOk) {
    bOk = false;
    if (!bChkApp(Pelion))
        return;
    zKtlRec::Record rec;
    rec.kind = zKtlRec::Kind::Chart;
    rec.sSrc = sPh;
    rec.sPattern = QStringLiteral("*.bmp");
    rec.sResult = sFL;
    if (!runEditor(Pelion, rec))
        return;
    sFL = rec.sResult;
    bOk = rec.iFlag1 != 0;
}

bool zKtl::ActKbs(const QString& sFL, const QString& sNo) {
    if (!bChkApp(Morlet))
        return false;
    QStringList args;
    if (!sFL.isEmpty())
        args << sFL;
    if (!sNo.isEmpty())
        args << sNo;
    if (ToolRun::Start(aExe[Morlet], args))
        return true;
    tell(Label(Morlet) + QStringLiteral(" (") + aExe[Morlet] +
         QStringLiteral(") を起動できませんでした"));
    return false;
}

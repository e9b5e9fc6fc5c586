#include "MainWindowFixture.h"
#include "Db.h"
#include "TxEngine.h"
#include "Usr.h"
#include "uTxm.h"
#include "yIni.h"

#include <QAction>
#include <QDir>
#include <QTest>

void MainWindowTest::SetUp() {
    dir = TestEnv::freshDir(QStringLiteral("fmdoc"));
    Usr::sUsrFd = dir + QStringLiteral("/data/");
    Usr::sWrkFd = Usr::sUsrFd + QStringLiteral("Wrk/");
    QDir().mkpath(Usr::sWrkFd);
    QDir().mkpath(Usr::sUsrFd + QStringLiteral("Doc"));
    yIni& ini = settings();
    ini.sXml.clear();
    bool ok = false;
    ini.GetTxt(Usr::sUsrFd + QStringLiteral("User.xml"), ok);
    ASSERT_TRUE(ok);
    Usr::GetWkArea();
}

void MainWindowTest::TearDown() {
    if (w && w->isVisible()) {
        if (w->editor()->bDcEdt())
            prompter.answerMessage(Prompter::Answer::No);
        w->close();
    }
    w.reset();
    Usr::DbClose();
}

void MainWindowTest::store(const QString& group, const QString& key, const QString& value) {
    yIni& ini = settings();
    ini.GetGtx(group);
    ini.SetVal(key, value);
    ini.SetGtx();
}

QString MainWindowTest::stored(const QString& group, const QString& key) {
    yIni& ini = settings();
    ini.GetGtx(group);
    return ini.vGtVal(key, QString());
}

fmDoc& MainWindowTest::start(const QString& sCmd) {
    w = std::make_unique<fmDoc>();
    w->Act(sCmd);
    return *w;
}

void MainWindowTest::quit() {
    w->close();
}

QByteArray MainWindowTest::docBytes(const QString& text) {
    TxEngine e;
    e.SetText(text);
    bool ok = false;
    const QByteArray bytes = e.SaveBytes(TxEngine::FmtDoc, 0, &ok);
    EXPECT_TRUE(ok);
    return bytes;
}

QAction* MainWindowTest::item(const QString& sArray, int iNdx) const {
    const QList<QAction*> items = w->MenuArray(sArray);
    return iNdx < items.size() ? items[iNdx] : nullptr;
}

void MainWindowTest::activate() {
    w->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(w.get()));
}

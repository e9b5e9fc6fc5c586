#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "TextCodec.h"
#include "Usr.h"
#include "fmDoc.h"
#include "yIni.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(MainWindow, ClosingWritesSettingsFile) {
    const QString dir = TestEnv::freshDir(QStringLiteral("mw"));
    yIni& ini = settings();
    bool ok = false;
    ini.GetTxt(dir + QStringLiteral("/User.xml"), ok);
    ASSERT_TRUE(ok);
    Usr::GetWkArea();
    {
        fmDoc w;
        w.Act();
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Folium"));
        EXPECT_TRUE(w.isVisible());
        w.close();
    }
    const QString text = TextCodec::fromCp932(TestEnv::readFile(dir + QStringLiteral("/User.xml")));
    EXPECT_TRUE(text.contains(QStringLiteral("   <TX_SCREEN>\r\n      <LEFT>")));
    EXPECT_TRUE(text.endsWith(QStringLiteral("</運用>")));
}

TEST(MainWindow, UnwritableSettingsFileIsReported) {
    const QString dir = TestEnv::freshDir(QStringLiteral("mw"));
    yIni& ini = settings();
    bool ok = false;
    ini.GetTxt(dir + QStringLiteral("/User.xml"), ok);
    ini.sXmlPh = dir + QStringLiteral("/missing-folder/User.xml");
    ScriptedPrompter prompter;
    fmDoc w;
    EXPECT_FALSE(w.SaveAndQuit());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].contains(ini.sXmlPh));
}

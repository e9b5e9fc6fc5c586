#pragma once
// Companion-tool tests: a program folder and a work folder in the temporary
// home, the registry stand-in emptied, and the stand-in tool program copied
// under the tool family's names where a test puts it.
#include "Registry.h"
#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "Usr.h"
#include "zKtl.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

class ToolTest : public ::testing::Test {
protected:
    QString root = TestEnv::freshDir(QStringLiteral("tools"));
    QString savedWrk = Usr::sWrkFd;
    QString savedFolder = Usr::ProgramFolder();
    QString savedExe = Usr::ExecutableName();
    ScriptedPrompter prompter;

    void SetUp() override {
        // <root>/apps/prog/folium: the parent is <root>/apps.
        QDir().mkpath(root + QStringLiteral("/apps/prog"));
        Usr::SetProgramPath(root + QStringLiteral("/apps/prog/"), QStringLiteral("folium"));
        Usr::sWrkFd = root + QStringLiteral("/Wrk/");
        QDir().mkpath(Usr::sWrkFd);
        for (int i = 0; i < zKtl::ToolCount; ++i)
            Registry::SaveSetting(zKtl::Section(), zKtl::Name(i), QString());
        prompter.setStrict(true);
    }
    void TearDown() override {
        Usr::sWrkFd = savedWrk;
        Usr::SetProgramPath(savedFolder, savedExe);
        qunsetenv("FOLIUM_STANDIN_LOG");
        qunsetenv("FOLIUM_STANDIN_DELAY_MS");
        qunsetenv("FOLIUM_STANDIN_FAIL");
    }

    // Copies the stand-in to <root>/<folder>/<name>; returns its path.
    QString install(const QString& folder, const QString& name) {
        const QString dir = root + u'/' + folder;
        QDir().mkpath(dir);
        const QString path = dir + u'/' + name;
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(QStringLiteral(FOLIUM_STANDIN), path));
        QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        return path;
    }
    static QString registered(int iNdx) {
        return Registry::GetSetting(zKtl::Section(), zKtl::Name(iNdx));
    }
    // The arguments of each run the stand-in logged.
    static QList<QStringList> runs(const QString& log) {
        QList<QStringList> out;
        for (const QByteArray& line : TestEnv::readFile(log).split('\n')) {
            if (line.isEmpty())
                continue;
            QStringList args;
            for (const QByteArray& a : line.split('\0'))
                args << QString::fromUtf8(a);
            args.removeLast(); // after the last NUL
            out << args;
        }
        return out;
    }
};

#pragma once
// A fresh editor control for each test: isolated settings, user and work
// folders, a scripted prompter, the control opened as the main window opens
// it (iTy = 1) and laid out on an offscreen window.

#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "TxEngine.h"
#include "Usr.h"
#include "uTxm.h"
#include "yIni.h"

#include <QDir>
#include <QObject>
#include <QTextCharFormat>
#include <QTextCursor>
#include <gtest/gtest.h>

#include <memory>

// Engine text written readably: "|" for a paragraph end, "/" for a line break.
inline QString ctl(QString s) {
    s.replace(u'|', QChar(10));
    s.replace(u'/', QChar(11));
    return s;
}

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = TestEnv::freshDir(QStringLiteral("editor"));
        Usr::sUsrFd = dir + QStringLiteral("/usr/");
        Usr::sWrkFd = Usr::sUsrFd + QStringLiteral("Wrk/");
        QDir().mkpath(Usr::sWrkFd);
        resetSettings();
        TxStyle::Shared() = TxStyle::UserFormats{}; // the process-wide style table
    }
    void TearDown() override { release(); }
    // Test handlers capture locals of the test body: cut them off before the
    // control is closed.
    void release() {
        if (ed)
            QObject::disconnect(ed.get(), nullptr, nullptr, nullptr);
        if (ed && ed->bLoad) {
            ed->SetDcEdt(false);
            ed->cOff();
        }
        ed.reset();
    }
    static void resetSettings() {
        yIni& ini = settings();
        ini.sXml = yIni::MakeTag(0, QString::fromUtf16(kIniRoot), QStringLiteral("\r\n"));
        ini.sXmlPh.clear();
    }
    // Stores one value in the settings store before the control opens.
    static void store(const QString& group, const QString& key, const QString& value) {
        yIni& ini = settings();
        ini.GetGtx(group);
        ini.SetVal(key, value);
        ini.SetGtx();
    }
    uTxm& open(int iTy = 1, const QVariant& showTitle = {}) {
        release();
        ed = std::make_unique<uTxm>();
        ed->resize(900, 600);
        ed->show();
        ed->cOn(0, iTy, showTitle);
        return *ed;
    }
    // Types text as the user does, through key events.
    void type(const QString& text);
    // Word bytes of a document holding `text` with its first `boldChars` bold.
    QByteArray docBytes(const QString& text, int boldChars = 0);

    QString dir;
    std::unique_ptr<uTxm> ed;
};

#pragma once
// An editor control opened as the main window opens it, with its settings
// dialog bound to it, isolated settings and folders and a scripted
// prompter. `act` opens a page through the dialog and runs the test's
// steps while the dialog is up, as the user would.

#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "TxEngine.h"
#include "Usr.h"
#include "sbTxm.h"
#include "uTxm.h"
#include "yIni.h"

#include <QDir>
#include <QPushButton>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir = TestEnv::freshDir(QStringLiteral("editsettings"));
        Usr::sUsrFd = dir + QStringLiteral("/usr/");
        Usr::sWrkFd = Usr::sUsrFd + QStringLiteral("Wrk/");
        QDir().mkpath(Usr::sWrkFd);
        yIni& ini = settings();
        ini.sXml = yIni::MakeTag(0, QString::fromUtf16(kIniRoot), QStringLiteral("\r\n"));
        ini.sXmlPh.clear();
        TxStyle::Shared() = TxStyle::UserFormats{};
        ed = std::make_unique<uTxm>();
        ed->resize(900, 600);
        ed->show();
        ed->cOn(0, 1);
        dlg = std::make_unique<sbTxm>();
        dlg->cOn(ed.get());
    }
    void TearDown() override {
        dlg->cOff();
        dlg.reset();
        ed->SetDcEdt(false);
        ed->cOff();
        ed.reset();
    }
    // Opens page `code` with `answer`; `steps` runs while the dialog is up
    // (they end it, e.g. by pressing OK; otherwise it is cancelled).
    // Returns the dialog's answer.
    QString act(const QString& code, const std::function<void(sbTxm&)>& steps,
                QString answer = {}) {
        prompter.answerDialog([this, steps](QDialog& d) {
            d.setResult(0);
            steps(*dlg);
            return d.result() == QDialog::Accepted;
        });
        dlg->Act(code, answer);
        return answer;
    }
    // Cancel, or the close box.
    static void cancel(sbTxm& d) { static_cast<QDialog&>(d).reject(); }
    QPushButton* okButton() const { return dlg->findChild<QPushButton*>(QStringLiteral("cmOk0")); }

    ScriptedPrompter prompter;
    QString dir;
    std::unique_ptr<uTxm> ed;
    std::unique_ptr<sbTxm> dlg;
};

#pragma once
// A file pane on a real folder in the temporary home, shown under the
// offscreen platform, with its events recorded and the desktop opener
// replaced by a recorder.
#include "DesktopOpener.h"
#include "TestEnv.h"
#include "Usr.h"
#include "uTrE.h"
#include "uTrELists.h"

#include <QDir>
#include <QSignalSpy>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

class PaneTest : public ::testing::Test {
protected:
    QString dir = TestEnv::freshDir(QStringLiteral("pane"));
    QString savedUsr = Usr::sUsrFd;
    QList<QUrl> opened;
    DesktopOpener::Scoped opener{[this](const QUrl& u) {
        opened << u;
        return true;
    }};
    std::unique_ptr<uTrE> pane = std::make_unique<uTrE>();
    QSignalSpy stFile{pane.get(), &uTrE::eStFile};
    QSignalSpy cngDr{pane.get(), &uTrE::eCngDr};

    void SetUp() override {
        Usr::sUsrFd = TestEnv::freshDir(QStringLiteral("usr")) + u'/';
        pane->resize(300, 600);
        pane->show();
    }
    void TearDown() override { Usr::sUsrFd = savedUsr; }

    QString at(const QString& name) const { return dir + u'/' + name; }
    static void make(const QString& path, const QByteArray& bytes = "x") {
        TestEnv::writeFile(path, bytes);
    }
    void start(const QString& folder) {
        pane->cOn(folder, QStringLiteral("*.*"), QStringLiteral("*.Doc;*.Docx"));
    }
    QStringList names() const { return pane->File1()->names(); }
    QStringList stFiles() const {
        QStringList out;
        for (const QList<QVariant>& args : stFile)
            out << args.value(0).toString();
        return out;
    }
};

#pragma once
// The real main window under the offscreen platform, on a fresh user data
// folder and settings document, with a scripted Prompter.

#include "ScriptedPrompter.h"
#include "TestEnv.h"
#include "fmDoc.h"

#include <QByteArray>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

class QAction;

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Stores `value` under `key` of settings group `group` before the window starts.
    void store(const QString& group, const QString& key, const QString& value);
    // The value the settings hold now (after the window closed, what was written).
    QString stored(const QString& group, const QString& key);
    // A new window, started with the command line `sCmd`.
    fmDoc& start(const QString& sCmd = {});
    // Closes the window as the user does (the close sequence runs).
    void quit();
    // A Word 97-2003 file holding `text`.
    static QByteArray docBytes(const QString& text);
    QAction* item(const QString& sArray, int iNdx) const;
    // Makes the window the active one, so its shortcuts take keys.
    void activate();

    QString dir;
    ScriptedPrompter prompter;
    std::unique_ptr<fmDoc> w;
};

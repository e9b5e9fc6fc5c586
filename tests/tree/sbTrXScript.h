#pragma once
// Answering the page-tree dialog in tests: the scripted prompter hands the
// dialog to `fn`, which acts on it shown (not modally); the dialog's own
// result (OK or not) is the answer.

#include "ScriptedPrompter.h"
#include "sbTrX.h"

#include <QDialog>
#include <gtest/gtest.h>

#include <functional>

inline void AnswerTreeDialog(ScriptedPrompter& p, std::function<void(sbTrX&)> fn) {
    p.answerDialog([fn](QDialog& d) {
        auto* x = qobject_cast<sbTrX*>(&d);
        EXPECT_NE(x, nullptr) << d.windowTitle().toStdString();
        if (!x)
            return false;
        x->show();
        fn(*x);
        return x->result() == QDialog::Accepted;
    });
}

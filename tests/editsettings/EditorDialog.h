#pragma once
// Helpers for tests that run the editor's own settings dialog through an
// editor command: pressing OK, and answering the dialog the command opens.

#include "ScriptedPrompter.h"
#include "sbTxm.h"

#include <QPushButton>

#include <functional>

inline void pressOk(sbTxm& d) {
    d.findChild<QPushButton*>(QStringLiteral("cmOk0"))->click();
}

// The next dialog is answered by `steps` run on `own`; it counts as
// confirmed when the steps accepted it (pressed OK and the page agreed).
inline void answerOwn(ScriptedPrompter& p, sbTxm& own, std::function<void(sbTxm&)> steps) {
    p.answerDialog([&own, steps](QDialog&) {
        own.setResult(0);
        steps(own);
        return own.result() == QDialog::Accepted;
    });
}

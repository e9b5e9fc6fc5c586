#pragma once
// The job codes of the editor's context menus: a menu item is identified by
// its caption (the text before any "(", trimmed), which names the editor
// command (iRJb) and its sub-option (vOpt). The repeat item's caption is the
// repeat text followed by the caption of the command it repeats.

#include <QString>

namespace TxmJob {

// "繰り返し(&R)　" (ends in an ideographic space).
QString RepeatPrefix();
// "やり直しできません".
QString NoRedo();
// The question asked before "初期化".
QString ClearQuestion();

// A caption without its accelerator / shortcut part: the text before the
// first "(" (half- or full-width), trimmed.
QString Key(const QString& sCaption);

// The caption of the command a repeat item stands for (the item's caption
// without the repeat text); the caption itself when it is no repeat item.
QString Repeated(const QString& sCaption);

struct Job {
    int iRJb = 0;     // 0: the caption names no job
    int vOpt = 0;     // sub-option, 16 bits
    bool ask = false; // the job runs only after ClearQuestion() is answered OK
};

// The job of a caption. iElement is the item's index in its menu, which
// tells the picture items apart ("画像" is 33 on element 3, else 34).
// Repeat items are resolved to the command they repeat.
Job Of(const QString& sCaption, int iElement = 0);

} // namespace TxmJob

#pragma once
// The main menu's command texts: how an item's caption becomes the editor
// action it runs, and the option words of the table commands.

#include <QString>

namespace MenuActions {

// The caption up to its first "(", blanks trimmed: "上書き保存(&S)" gives
// "上書き保存".
QString Stem(const QString& sCaption);

// The option word of item `iNdx` of the table command `sCmd` ("表挿入",
// "表分割", "表削除", "表選択", "表属性"); empty for separators and unknown
// items.
QString TableWord(const QString& sCmd, int iNdx);

// The editor action for a command text (already cut at "("); 0 for a text
// the table does not hold. "画像" is 33 for item 3 of the insert menu
// (group 6) and 34 otherwise. "初期化" gives 2: the caller asks first.
int ActionOf(const QString& sText, int iMn, int iNdx);

} // namespace MenuActions

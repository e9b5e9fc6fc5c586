#pragma once
// The page tree's own texts: captions, tool tips and status messages.

namespace TreeText {

// Status messages (eFmMsg).
inline constexpr char kNewDiscarded[] = "新規ﾍﾟｰｼﾞを破棄しました";
inline constexpr char kNewEdit[] = "新規ﾍﾟｰｼﾞを編集して下さい";
inline constexpr char kTagAdded[] = "ﾀｸﾞ(文書ﾃﾞｰﾀｰﾍﾞｰｽ内のﾘﾝｸ)を挿入しました";
inline constexpr char kFound[] = " 件候補がありました";
inline constexpr char kTabTreeMsg[] = "左のﾂﾘｰでﾍﾟｰｼﾞを指定して下さい";
inline constexpr char kTabRcntMsg[] = "最近表示したﾍﾟｰｼﾞをﾘｽﾄしました";
inline constexpr char kTabTitleMsg[] = "文書名に検索文字を含む文書を探します";
inline constexpr char kTabFindMsg[] = "文書全体に検索文字を含む文書を探します";

// The question before a code-list entry is deleted.
inline constexpr char kAskDelete[] = "現在のﾍﾟｰｼﾞを削除して良いですか";

// The text of a new page, in the tree and in the code list.
inline constexpr char kNewPage[] = "新規ﾍﾟｰｼﾞ";

// Tabs: caption, tool tip, key (also the image key).
struct Tab {
    const char* sCaption;
    const char* sTip;
    const char* sKey;
};
inline constexpr Tab kTabs[4] = {
    {"文脈", "文書構成で参照", "tree"},
    {"文名", "文書名で検索します", "title"},
    {"検索", "指定文字を含む文書を検索", "find"},
    {"履歴", "最近表示した文書", "rireki"},
};

// Buttons.
inline constexpr char kFindButton[] = "検索";
inline constexpr char kClearRecent[] = "履歴のｸﾘｱ";

// The date column of the code list.
inline constexpr char kCodDate[] = "yy/MM/dd HH:mm:ss";
// The key of the pending code-list entry, and the letter before a number.
inline constexpr char kCodNew[] = "NEW";
inline constexpr char kCodKeyLetter = 'K';

} // namespace TreeText

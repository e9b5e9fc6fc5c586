#pragma once
// The page-tree dialog's own texts.

namespace sbTrXText {

// Captions by mode (1 import, 2 reference, 3 export).
inline constexpr const char* kCaption[4] = {"", "既存文書からｲﾝﾎﾟｰﾄ", "他のﾍﾟｰｼﾞ参照",
                                            "ｴｸｽﾎﾟｰﾄ先の指定"};
// After the caption while a page is shown: + its number.
inline constexpr char kDocNo[] = " 文書No:";
// A page that cannot be read: + its number.
inline constexpr char kReadErr[] = "Read Err  文書No:";

inline constexpr char kOk[] = "&OK";
inline constexpr char kCancel[] = "&Cancel";
inline constexpr char kClose[] = "閉じる";
inline constexpr char kZoomLabel[] = "ｽﾞｰﾑ";
inline constexpr const char* kZooms[7] = {"100%", " 90%", " 80%", " 70%", " 60%", " 50%", " 40%"};

// Popup menus over the tree.
inline constexpr char kMnImp[] = "ｲﾝﾎﾟｰﾄ";
inline constexpr char kMnImp0[] = "この文書をｲﾝﾎﾟｰﾄ(上書き)";
inline constexpr char kMnImp1[] = "この文書をｲﾝﾎﾟｰﾄ(追加)";
inline constexpr char kMnExp[] = "ｴｸｽﾎﾟｰﾄ";
inline constexpr const char* kMnExpItems[3] = {"前に追加", "次に追加", "下に追加"};
// Marking the chosen page as a code page (pages filed by date go under it).
inline constexpr char kMnCodSet[] = "ｺｰﾄﾞﾍﾟｰｼﾞに指定";
inline constexpr char kMnCodClr[] = "ｺｰﾄﾞﾍﾟｰｼﾞの指定を解除";

// The copy popup over the preview (reference mode).
inline constexpr const char* kMnCopy[3] = {"指定範囲をｺﾋﾟｰ(&C)", "文書全体をｺﾋﾟｰ",
                                           "文書全体をﾃｷｽﾄとしてｺﾋﾟｰ"};

// Tab 4 as the list of documents without a place in the tree.
inline constexpr char kUnrefCaption[] = "参照外";
inline constexpr char kUnrefTip[] = "文脈で参照されていない文書の一覧です";

// Settings group of the geometry: + mode + this.
inline constexpr char kGeomGroup[] = "TXR";
inline constexpr char kGeomGroupEnd[] = "_位置";

} // namespace sbTrXText

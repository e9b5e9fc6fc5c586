#pragma once
// The input method of the desktop: opening and closing it, its conversion
// mode and whether it is open. Linux desktops have no call for this in Qt,
// so the framework's own command-line tool is asked: fcitx5-remote (or
// fcitx-remote) for fcitx, `ibus engine` for IBus. The framework in use is
// found once from the environment (QT_IM_MODULE, XMODIFIERS) and the tools
// on the PATH. Every failure (no framework, a tool that fails or hangs) is
// ignored: the input method is a convenience, never a reason to stop.

#include <QString>

#include <optional>

namespace InputMethod {

enum class Framework { None, Fcitx, IBus };

// Conversion mode bits as the desktop's input method API names them.
inline constexpr int kNative = 1;    // the language's own characters (kana)
inline constexpr int kFullShape = 8; // full-width
inline constexpr int kRoman = 16;    // typed as romaji
inline constexpr int kNativeFullRoman = kNative | kFullShape | kRoman; // 25

// The framework found (detected on first use).
Framework Current();
// The tool asked for it (full path); empty with no framework.
QString Tool();
// Opens (true) or closes the input method; false when the framework is
// missing or the tool failed.
bool SetOpen(bool open);
// Sets the conversion mode. Native input opens the framework's language
// engine (fcitx: the first input method of the group, IBus: a Japanese
// engine), whose own default is full-width romaji input; the sentence mode
// is the engine's and is kept. False when nothing could be done.
bool SetConversion(int mode);
// Whether the input method is open; nullopt when the framework cannot say.
std::optional<bool> IsOpen();
// Forgets the framework found, so the next call looks again (after the
// environment or the PATH changed).
void Reset();

} // namespace InputMethod

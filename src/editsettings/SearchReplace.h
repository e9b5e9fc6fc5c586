#pragma once
// Searching and replacing in the editor's engine, without the page's
// widgets: the search state (last result, last text found), find from the
// top / backwards / forwards, the rule that decides whether "置換" replaces
// the selection, and replacing every occurrence.

#include <QString>

#include <functional>

class TxEngine;

class SearchReplace {
public:
    explicit SearchReplace(TxEngine* tx) : tx_(tx) {}

    // Engine find flags for a search: 16, +4 when case matters, +1 backwards.
    static int Flags(bool matchCase, bool backwards = false);

    // Back to the state of a page just opened: result 0, no text found.
    void Reset();
    int LastResult() const { return nResult; }
    QString LastText() const { return sLastFnd; }

    // Finds `text` from the beginning (start 0) or the current position
    // (start -1); the match is selected in the engine. Stores the result;
    // a match makes `text` the last text found. Returns the position,
    // negative when not found.
    int Find(const QString& text, int start, int flags);
    // Finds the next occurrence from the current position.
    int Next(const QString& text, int flags) { return Find(text, -1, flags); }

    // Replaces the selection (the engine's selection, through `replace`)
    // when it is still the text found last for this search text, then
    // searches the next occurrence. Returns whether it replaced.
    bool Replace(const QString& text, int flags, const std::function<void()>& replace);

    // Replaces every occurrence from the beginning, each once: every search
    // after a replacement starts behind the inserted text, so a replacement
    // holding the search text is not searched again. Returns the count.
    int ReplaceAll(const QString& text, int flags, const std::function<void()>& replace);

private:
    TxEngine* tx_;
    int nResult = 0;
    QString sLastFnd;
};

#include "SearchReplace.h"

#include "TxEngine.h"

int SearchReplace::Flags(bool matchCase, bool backwards) {
    int flags = TxEngine::FindAlways;
    if (matchCase)
        flags += TxEngine::FindMatchCase;
    if (backwards)
        flags += TxEngine::FindBackwards;
    return flags;
}

void SearchReplace::Reset() {
    nResult = 0;
    sLastFnd.clear();
}

int SearchReplace::Find(const QString& text, int start, int flags) {
    nResult = text.isEmpty() ? -1 : tx_->FindText(text, start, flags);
    if (nResult >= 0)
        sLastFnd = text;
    return nResult;
}

bool SearchReplace::Replace(const QString& text, int flags, const std::function<void()>& replace) {
    if (sLastFnd.isEmpty())
        sLastFnd = tx_->SelText();
    bool replaced = false;
    if (!text.isEmpty() && text == sLastFnd && nResult >= 0 &&
        tx_->SelText().compare(sLastFnd, Qt::CaseInsensitive) == 0) {
        replace();
        replaced = true;
    }
    Next(text, flags);
    return replaced;
}

int SearchReplace::ReplaceAll(const QString& text, int flags,
                              const std::function<void()>& replace) {
    if (text.isEmpty())
        return 0;
    // Every match lies in the part of the original text behind the last
    // replacement and takes at least text.size() characters of it, so there
    // are at most this many; the bound only guards against an engine that
    // would not move on.
    const qsizetype bound = tx_->Text().size() / text.size() + 1;
    int count = 0;
    int pos = Find(text, 0, flags & ~TxEngine::FindBackwards);
    while (pos >= 0 && count < bound) {
        replace();
        ++count;
        pos = Find(text, -1, flags & ~TxEngine::FindBackwards);
    }
    return count;
}

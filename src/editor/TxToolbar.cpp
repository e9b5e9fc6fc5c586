#include "TxToolbar.h"

namespace TxTool {

namespace {
struct Key {
    const char* key;
    int code;
};
constexpr Key kButtons[] = {{"New", 2},     {"Open", 1},  {"Save", 4},  {"Print", 6},
                            {"Preview", 7}, {"Cut", 13},  {"Copy", 14}, {"Paste", 15},
                            {"Undo", 11},   {"Redo", 12}, {"Find", 22}};
} // namespace

const QStringList& ButtonKeys() {
    static const QStringList keys = [] {
        QStringList k;
        for (const Key& b : kButtons)
            k << QString::fromLatin1(b.key);
        return k;
    }();
    return keys;
}

int CommandOf(const QString& key) {
    for (const Key& b : kButtons)
        if (key == QLatin1String(b.key))
            return b.code;
    return 0;
}

ButtonState StateOf(const QString& key, const TlState& s, int iTy) {
    ButtonState b;
    if (key == QLatin1String("Save")) {
        b.visible = iTy >= 0;
        b.enabled = s.canSave;
    } else if (key == QLatin1String("New")) {
        b.visible = iTy > 0;
        b.enabled = s.hasContent;
    } else if (key == QLatin1String("Open")) {
        b.visible = iTy > 0;
        b.enabled = iTy > 0;
    } else if (key == QLatin1String("Print") || key == QLatin1String("Preview") ||
               key == QLatin1String("Find")) {
        b.enabled = s.hasContent;
    } else if (key == QLatin1String("Cut") || key == QLatin1String("Copy")) {
        b.enabled = s.canCopy;
    } else if (key == QLatin1String("Paste")) {
        b.enabled = s.canPaste;
    } else if (key == QLatin1String("Undo")) {
        b.enabled = s.canUndo;
    } else if (key == QLatin1String("Redo")) {
        b.enabled = s.canRedo;
    }
    return b;
}

} // namespace TxTool

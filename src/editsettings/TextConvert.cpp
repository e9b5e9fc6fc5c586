#include "TextConvert.h"

#ifndef FOLIUM_HAVE_ICU
#error "The text conversions need ICU (Debian package libicu-dev, found through pkg-config)"
#endif

#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <array>
#include <memory>

namespace TextConvert {

QString Caption(int kind) {
    switch (kind) {
    case Wide:
        return QStringLiteral("↓全角");
    case Narrow:
        return QStringLiteral("↓半角");
    case Upper:
        return QStringLiteral("↓大文字");
    case Lower:
        return QStringLiteral("↓小文字");
    case Proper:
        return QStringLiteral("↓Proper");
    default:
        return {};
    }
}

namespace {

const char16_t* ruleId(int kind) {
    switch (kind) {
    case Wide:
        return u"Halfwidth-Fullwidth";
    case Narrow:
        return u"Hiragana-Katakana; Fullwidth-Halfwidth";
    case Upper:
        return u"Any-Upper";
    case Lower:
        return u"Any-Lower";
    case Proper:
        return u"Any-Title";
    default:
        return nullptr;
    }
}

// Made once per kind on first use; they are costly to build and keep no
// state between calls.
const icu::Transliterator* transliterator(int kind) {
    static std::array<std::unique_ptr<icu::Transliterator>, kKinds> made;
    static std::array<bool, kKinds> tried{};
    if (kind < 0 || kind >= kKinds)
        return nullptr;
    if (!tried[kind]) {
        tried[kind] = true;
        UErrorCode status = U_ZERO_ERROR;
        made[kind].reset(icu::Transliterator::createInstance(icu::UnicodeString(ruleId(kind)),
                                                             UTRANS_FORWARD, status));
        if (U_FAILURE(status))
            made[kind].reset();
    }
    return made[kind].get();
}

} // namespace

QString Convert(const QString& text, int kind) {
    const icu::Transliterator* t = transliterator(kind);
    if (!t || text.isEmpty())
        return text;
    icu::UnicodeString u(reinterpret_cast<const UChar*>(text.utf16()), int32_t(text.size()));
    t->transliterate(u);
    return QString(reinterpret_cast<const QChar*>(u.getBuffer()), u.length());
}

} // namespace TextConvert

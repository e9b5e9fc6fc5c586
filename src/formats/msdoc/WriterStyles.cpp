// The font table and the style sheet the writer puts into the table stream.
#include "Bytes.h"
#include "Document.h"
#include "Sprm.h"
#include "WriterParts.h"

namespace msdoc::wr {

namespace {

bool isJapaneseFont(const QString& name) {
    for (QChar c : name)
        if (c.unicode() > 0x7F)
            return true;
    static const QStringList known{"MS Gothic",  "MS PGothic",   "MS Mincho",
                                   "MS PMincho", "MS UI Gothic", "Meiryo",
                                   "Meiryo UI",  "Yu Gothic",    "Yu Mincho"};
    return known.contains(name, Qt::CaseInsensitive) || name.endsWith(QLatin1String(" JP"));
}

// One STD: the fixed part, the name, and the property lists (paragraph
// styles have paragraph and character lists, character styles one).
QByteArray styleDefinition(int sti, bool paragraph, int istdBase, int istdNext, const QString& name,
                           const QByteArray& papxGrpprl, int istd, const QByteArray& chpxGrpprl) {
    ByteWriter w;
    w.u16(sti & 0x0FFF);
    w.u16((paragraph ? 1 : 2) | (istdBase << 4));
    w.u16((paragraph ? 2 : 1) | (istdNext << 4));
    const qsizetype bchUpeAt = w.size();
    w.u16(0);
    w.u16(0); // grfstd
    w.u16(int(name.size()));
    w.utf16(name);
    w.u16(0);
    if (paragraph) {
        w.u16(int(2 + papxGrpprl.size()));
        w.u16(istd);
        w.raw(papxGrpprl);
        w.align(2);
    }
    w.u16(int(chpxGrpprl.size()));
    w.raw(chpxGrpprl);
    w.align(2);
    w.put16(bchUpeAt, int(w.size()));
    return w.bytes;
}

} // namespace

FontTable::FontTable() {
    // Index 0 is the document's default face; the others are the usual
    // companions Word expects to find.
    names << model::defaultFontName() << QStringLiteral("Times New Roman")
          << QStringLiteral("Symbol") << QStringLiteral("Arial");
}

int FontTable::index(const QString& name) {
    int i = int(names.indexOf(name));
    if (i < 0) {
        names << name;
        i = int(names.size() - 1);
    }
    return i;
}

QByteArray FontTable::sttbfFfn() const {
    ByteWriter w;
    w.u16(int(names.size()));
    w.u16(0);
    for (const QString& raw : names) {
        const QString name = raw.left(31);
        const bool jp = isJapaneseFont(name);
        const bool symbol = name == QLatin1String("Symbol");
        ByteWriter f;
        const bool sans = name.contains(QStringLiteral("ゴシック")) ||
                          name.contains(QLatin1String("Gothic"), Qt::CaseInsensitive) ||
                          name.contains(QLatin1String("Sans"), Qt::CaseInsensitive) ||
                          name == QLatin1String("Arial");
        const int ff = symbol ? 5 : (sans ? 2 : 1); // decorative, swiss, roman
        f.u8(2 | 0x04 | (ff << 4));                 // variable pitch, TrueType
        f.u16(400);
        f.u8(symbol ? 2 : (jp ? 128 : 0)); // SYMBOL, SHIFTJIS or ANSI character set
        f.u8(0);                           // no alternative name
        f.zeros(10);                       // panose unknown
        // Font signature: Unicode ranges unknown; code pages Latin 1 (+ JIS).
        f.zeros(16);
        f.u32(symbol ? 0x80000000u : (jp ? 0x00020001u : 0x00000001u));
        f.u32(0);
        f.utf16(name);
        f.u16(0);
        w.u8(int(f.size()));
        w.raw(f.bytes);
    }
    return w.bytes;
}

int StyleSheet::istd(const QString& styleName) {
    if (styleName.isEmpty() || styleName == QLatin1String("Normal"))
        return 0;
    int i = int(userNames.indexOf(styleName));
    if (i < 0) {
        userNames << styleName;
        i = int(userNames.size() - 1);
    }
    return 15 + i;
}

QByteArray StyleSheet::stsh(FontTable& fonts) const {
    ByteWriter w;
    const int cstd = 15 + int(userNames.size());
    w.u16(18); // size of the Stshif that follows
    w.u16(cstd);
    w.u16(0x000A); // Stdf without the post-2000 part
    w.u16(1);      // fStdStylenamesWritten
    w.u16(0x5B);   // stiMaxWhenSaved
    w.u16(0x0F);   // istdMaxFixedWhenSaved
    w.u16(0);      // nVerBuiltInNamesWhenSaved
    const int ftc = fonts.index(model::defaultFontName());
    w.u16(ftc);
    w.u16(ftc);
    w.u16(ftc);

    // Normal: the default font for every script, Japanese as the East Asian
    // language, 10 pt.
    ByteWriter chp;
    for (int op : {sprm::CRgFtc0, sprm::CRgFtc1, sprm::CRgFtc2}) {
        chp.u16(op);
        chp.u16(ftc);
    }
    chp.u16(sprm::CHps);
    chp.u16(model::CharFormat().halfPoints);
    chp.u16(sprm::CRgLid0);
    chp.u16(0x0409);
    chp.u16(sprm::CRgLid1);
    chp.u16(0x0411);
    auto lpstd = [&w](const QByteArray& def) {
        w.u16(int(def.size()));
        w.raw(def);
    };
    lpstd(styleDefinition(0, true, 0xFFF, 0, QStringLiteral("Normal"), {}, 0, chp.bytes));
    for (int i = 1; i <= 9; ++i)
        w.u16(0); // heading 1-9 unused
    lpstd(styleDefinition(65, false, 0xFFF, 10, QStringLiteral("Default Paragraph Font"), {}, 10,
                          {}));
    for (int i = 11; i <= 14; ++i)
        w.u16(0);
    for (int i = 0; i < userNames.size(); ++i)
        lpstd(styleDefinition(0xFFE, true, 0, 15 + i, userNames[i], {}, 15 + i, {}));
    return w.bytes;
}

} // namespace msdoc::wr

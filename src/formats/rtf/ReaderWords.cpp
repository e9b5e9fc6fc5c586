// The RTF reader's control words: destinations, special characters and the
// character, paragraph, section, table, picture, shape and list properties.
#include "Reader.h"

#include "ListNumbers.h"

#include <algorithm>

namespace rtf::rd {

namespace {

bool is(QByteArrayView w, const char* s) {
    return w == QByteArrayView(s);
}

int codePageOfCharset(int charset, int ansiCp) {
    switch (charset) {
    case 0:
        return 1252;
    case 1:
        return ansiCp;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    default:
        return 1252;
    }
}

int clampTwips(int v) {
    return std::clamp(v, -(1 << 24), 1 << 24);
}

// Destinations whose content is never text of the document.
bool skippedDestination(QByteArrayView w) {
    static const char* const names[] = {
        "info",
        "author",
        "title",
        "subject",
        "operator",
        "keywords",
        "comment",
        "doccomm",
        "company",
        "manager",
        "category",
        "generator",
        "xmlnstbl",
        "rsidtbl",
        "revtbl",
        "filetbl",
        "datastore",
        "themedata",
        "colorschememapping",
        "latentstyles",
        "pgdsctbl",
        "mmathPr",
        "annotation",
        "atnid",
        "atnauthor",
        "xe",
        "tc",
        "txe",
        "rxe",
        "objdata",
        "objclass",
        "objname",
        "template",
        "userprops",
        "docvar",
        "ftnsep",
        "ftnsepc",
        "aftnsep",
        "aftnsepc",
        "headerl",
        "footerl",
        "pn",
        "pntext",
        "pntxta",
        "pntxtb",
        "listtext",
        "blipuid",
        "picprop",
        "do",
        "nonshppict",
        "nonesttables",
        "shprslt",
        "bkmkcolf",
        "bkmkcoll",
        "falt",
        "panose",
        "fname",
        "wgrffmtfilter",
        "passwordhash",
        "protusertbl",
        "defchp",
        "defpap",
        "listpicture",
        "fontemb",
        "fontfile",
        "ud",
        "upr",
        "mhtmltag",
        "htmltag",
        "formfield",
        "datafield",
        "ffdeftext",
        "fftitle",
        "oldcprops",
        "oldpprops",
        "oldtprops",
        "oldsprops",
        "stylesheet_",
        "hlinkbase",
        "xform",
        "background",
        "ftncn",
        "aftncn",
        "aftnsep",
        "wgrffmtfilter",
        "listlevel_",
        "levelnumbers",
        "attachedtemplate",
        "private",
        "mmath",
        "sn_",
        "ltrmark_",
        "pxe",
        "bxe",
        "ixe",
        "tcn",
        "followedhyperlink",
        "hl",
        "hlfr",
        "hlsrc",
        "hlloc",
        "leveltemplateid_",
    };
    for (const char* n : names)
        if (w == QByteArrayView(n))
            return true;
    return false;
}

} // namespace

void Reader::plain(State& s) const {
    s.chp = model::CharFormat();
    s.chp.halfPoints = 24;
    s.font = -1;
    s.eaFont = -1;
    s.chp.font = s.chp.fontEastAsia = fontName(defaultFont);
}

void Reader::pard(State& s) const {
    s.pap = model::ParaFormat();
    s.inTable = false;
    s.itap = 0;
    s.frame = FrameProps();
    s.tab = model::TabStop();
}

QString Reader::fontName(int index) const {
    const auto find = [&](int i) -> const Font* {
        const auto it = std::lower_bound(fonts.begin(), fonts.end(), i,
                                         [](const auto& p, int k) { return p.first < k; });
        return it != fonts.end() && it->first == i ? &it->second : nullptr;
    };
    if (const Font* f = find(index); f && !f->name.isEmpty())
        return f->name;
    if (const Font* f = find(defaultFont); f && !f->name.isEmpty())
        return f->name;
    return model::defaultFontName();
}

model::Color Reader::color(int index) const {
    return index >= 0 && size_t(index) < colors.size() ? colors[size_t(index)] : model::kAutoColor;
}

void Reader::setFont(int index, bool viaAssociated) {
    State& s = st();
    if (s.mode == CharMode::Double) {
        s.eaFont = index;
        s.chp.fontEastAsia = fontName(index);
        return;
    }
    if (viaAssociated && s.mode == CharMode::RightToLeft)
        return; // the font of right-to-left text
    s.font = index;
    s.chp.font = fontName(index);
    if (s.eaFont < 0)
        s.chp.fontEastAsia = s.chp.font;
}

void Reader::symbol(char c) {
    if (c == '*') {
        ignorableNext = true;
        return;
    }
    if (skip > 0) {
        --skip;
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}': {
        const char b = c;
        text(QByteArrayView(&b, 1));
        return;
    }
    case '~':
        deliver(QString(QChar(0x00A0)));
        return;
    case '-':
        deliver(QString(QChar(model::kSoftHyphen)));
        return;
    case '_':
        deliver(QString(QChar(model::kNoBreakHyphen)));
        return;
    case '\t':
        deliver(QString(QChar(model::kTab)));
        return;
    default:
        return; // \| \: formula and index characters
    }
}

bool Reader::startDestination(QByteArrayView w, bool ignorable) {
    State& s = st();
    auto become = [&](Dest d) {
        s.dest = d;
        return true;
    };
    if (s.dest == Dest::Skip)
        return true;
    if ((s.dest == Dest::StyleSheet || s.dest == Dest::StyleEntry) &&
        (is(w, "s") || is(w, "cs") || is(w, "ds") || is(w, "ts")))
        return false; // a style entry, read below
    if (is(w, "fonttbl")) {
        fontIndex = -1;
        return become(Dest::FontTable);
    }
    if (is(w, "colortbl")) {
        colors.clear();
        red = green = blue = 0;
        colorSet = false;
        return become(Dest::ColorTable);
    }
    if (is(w, "stylesheet"))
        return become(Dest::StyleSheet);
    if (is(w, "listtable"))
        return become(Dest::ListTable);
    if (is(w, "listoverridetable"))
        return become(Dest::ListTable);
    if (is(w, "list") && s.dest == Dest::ListTable) {
        listBuild = model::ListDef();
        s.ownsList = true;
        return true;
    }
    if (is(w, "listlevel") && s.dest == Dest::ListTable && listBuild) {
        levelBuild = ListLevelBuild();
        levelBuild->level.format = model::NumberFormat::Decimal;
        s.ownsLevel = true;
        return true;
    }
    if (is(w, "leveltext") && s.dest == Dest::ListTable && levelBuild)
        return become(Dest::ListLevelText);
    if (is(w, "listoverride") && s.dest == Dest::ListTable) {
        s.ownsOverride = true;
        overrideLs = overrideListId = 0;
        return true;
    }
    if (is(w, "listname") || is(w, "levelnumbers"))
        return become(Dest::Skip);
    if (is(w, "pict")) {
        pict = PictBuild();
        return become(Dest::Pict);
    }
    if (is(w, "shppict") || is(w, "shpinst") || is(w, "sp") || is(w, "nesttableprops"))
        return true; // their content is read
    if (is(w, "shp")) {
        if (shapes.size() < 8 && spend(sizeof(ShapeBuild))) {
            shapes.emplace_back();
            s.ownsShape = true;
        } else {
            s.dest = Dest::Skip;
        }
        return true;
    }
    if (is(w, "sn"))
        return shapes.empty() ? become(Dest::Skip) : become(Dest::ShapeName);
    if (is(w, "sv")) {
        if (shapes.empty())
            return become(Dest::Skip);
        // The value of "pib" holds the picture; the others are text.
        return shapes.back().name == QLatin1String("pib") ? true : become(Dest::ShapeValue);
    }
    if (is(w, "shptxt")) {
        if (shapes.empty())
            return become(Dest::Skip);
        if (!spend(sizeof(StoryBuild)))
            return become(Dest::Skip);
        stories.emplace_back();
        s.story = int(stories.size()) - 1;
        s.result = -1;
        s.ownsStory = true;
        return become(Dest::ShapeText);
    }
    if (is(w, "field")) {
        if (fields.size() >= 64 || !spend(sizeof(FieldBuild)))
            return become(Dest::Skip);
        FieldBuild fb;
        fb.format = s.chp;
        fields.push_back(fb);
        s.field = int(fields.size()) - 1;
        s.ownsField = true;
        return true;
    }
    if (is(w, "fldinst"))
        return s.field >= 0 ? become(Dest::FieldInst) : become(Dest::Skip);
    if (is(w, "fldrslt")) {
        if (s.field < 0)
            return true;
        s.result = s.field;
        return true;
    }
    if (is(w, "foliumfieldkind"))
        return s.field >= 0 ? become(Dest::FieldKind) : become(Dest::Skip);
    if (is(w, "bkmkstart") || is(w, "bkmkend")) {
        styleName.clear();
        return become(is(w, "bkmkstart") ? Dest::BookmarkStart : Dest::BookmarkEnd);
    }
    int kind = 0;
    if (is(w, "header") || is(w, "headerr"))
        kind = 1;
    else if (is(w, "footer") || is(w, "footerr"))
        kind = 2;
    else if (is(w, "headerf"))
        kind = 3;
    else if (is(w, "footerf"))
        kind = 4;
    if (is(w, "footnote"))
        kind = 5; // 6 once \ftnalt says it is an endnote
    if (kind) {
        if (s.story != 0 || !spend(sizeof(StoryBuild)))
            return become(Dest::Skip);
        stories.emplace_back();
        s.story = int(stories.size()) - 1;
        s.result = -1;
        s.field = -1;
        s.ownsStory = true;
        s.storyKind = kind;
        pard(s);
        return become(Dest::Story);
    }
    if (skippedDestination(w))
        return become(Dest::Skip);
    if (ignorable)
        return become(Dest::Skip);
    return false;
}

void Reader::word(const Token& t) {
    const QByteArrayView w = t.word;
    const bool ignorable = ignorableNext;
    ignorableNext = false;
    if (w == QByteArrayView("u") && t.hasParam) {
        if (skip > 0) {
            --skip;
            return;
        }
        unicode(t.param);
        return;
    }
    if (skip > 0) {
        // A control word inside the fallback of \uN counts as one character.
        --skip;
        return;
    }
    if (is(w, "bin")) {
        if (t.param > 0)
            tok.expectBinary(t.param);
        return;
    }
    if (startDestination(w, ignorable))
        return;
    State& s = st();
    if (s.dest == Dest::Skip)
        return;
    // Characters.
    auto ch = [&](char16_t c) { deliver(QString(QChar(c))); };
    if (is(w, "par") || is(w, "sect") || is(w, "row") || is(w, "cell") || is(w, "nestcell") ||
        is(w, "nestrow")) {
        const bool inBody =
            s.dest == Dest::Body || s.dest == Dest::Story || s.dest == Dest::ShapeText;
        if (!inBody) {
            if (is(w, "par") && s.dest == Dest::FieldInst)
                deliver(QStringLiteral(" "));
            return;
        }
        if (s.result >= 0 && size_t(s.result) < fields.size()) {
            // A paragraph break inside a field's result: the field gives way
            // to its result, kept as ordinary content.
            for (int i = 0; i <= s.result && size_t(i) < fields.size(); ++i) {
                FieldBuild& fb = fields[size_t(i)];
                if (fb.flattened)
                    continue;
                fb.flattened = true;
                StoryBuild& sb = story();
                for (auto& in : fb.result)
                    sb.para.content.push_back(std::move(in));
                if (!fb.result.empty())
                    sb.paraStarted = true;
                fb.result.clear();
            }
        }
        if (is(w, "par"))
            endParagraph();
        else if (is(w, "cell"))
            endCell(1);
        else if (is(w, "nestcell"))
            endCell(std::max(2, s.itap));
        else if (is(w, "row"))
            endRow(1);
        else if (is(w, "nestrow"))
            endRow(std::max(2, s.itap));
        else if (is(w, "sect") && s.story == 0)
            endSection();
        return;
    }
    if (is(w, "tab"))
        return ch(model::kTab);
    if (is(w, "line"))
        return ch(model::kLineBreak);
    if (is(w, "page"))
        return ch(model::kPageBreak);
    if (is(w, "column"))
        return ch(model::kColumnBreak);
    if (is(w, "emdash"))
        return ch(0x2014);
    if (is(w, "endash"))
        return ch(0x2013);
    if (is(w, "bullet"))
        return ch(0x2022);
    if (is(w, "lquote"))
        return ch(0x2018);
    if (is(w, "rquote"))
        return ch(0x2019);
    if (is(w, "ldblquote"))
        return ch(0x201C);
    if (is(w, "rdblquote"))
        return ch(0x201D);
    if (is(w, "emspace"))
        return ch(0x2003);
    if (is(w, "enspace"))
        return ch(0x2002);
    if (is(w, "qmspace"))
        return ch(0x2005);
    if (is(w, "zwj"))
        return ch(0x200D);
    if (is(w, "zwnj"))
        return ch(0x200C);
    if (is(w, "uc")) {
        s.uc = std::clamp(t.hasParam ? t.param : 1, 0, kMaxParam);
        return;
    }
    // The document's character set.
    if (is(w, "ansicpg")) {
        if (t.param > 0 && t.param < 100000)
            ansiCp = t.param;
        return;
    }
    if (is(w, "mac")) {
        ansiCp = 10000;
        return;
    }
    if (is(w, "pc")) {
        ansiCp = 437;
        return;
    }
    if (is(w, "pca")) {
        ansiCp = 850;
        return;
    }
    if (is(w, "deff")) {
        defaultFont = t.param;
        return;
    }
    if (is(w, "deftab")) {
        if (t.param > 0)
            doc.defaultTabStop = clampTwips(t.param);
        return;
    }
    // The font and colour tables.
    if (s.dest == Dest::FontTable) {
        if (is(w, "f")) {
            finishFont();
            fontIndex = t.param;
            fontCharsetCp = ansiCp;
            fontCp = 0;
        } else if (is(w, "fcharset")) {
            fontCharsetCp = codePageOfCharset(t.param, ansiCp);
        } else if (is(w, "cpg")) {
            if (t.param > 0 && t.param < 100000)
                fontCp = t.param;
        }
        return;
    }
    if (s.dest == Dest::ColorTable) {
        const int v = std::clamp(t.param, 0, 255);
        if (is(w, "red"))
            red = v, colorSet = true;
        else if (is(w, "green"))
            green = v, colorSet = true;
        else if (is(w, "blue"))
            blue = v, colorSet = true;
        return;
    }
    if (s.dest == Dest::StyleSheet && (is(w, "s") || is(w, "cs") || is(w, "ds") || is(w, "ts"))) {
        // An entry without a group of its own: the rest of it is read as one.
        s.dest = Dest::StyleEntry;
    }
    if (s.dest == Dest::StyleEntry || s.dest == Dest::StyleSheet) {
        if (is(w, "s") || is(w, "cs") || is(w, "ds") || is(w, "ts")) {
            s.dest = Dest::StyleEntry;
            styleNumber = t.param;
            styleCharacter = !is(w, "s");
            return;
        }
    }
    if (s.dest == Dest::Pict)
        return (void)pictProp(w, t);
    if (listProp(w, t) || shapeProp(w, t) || charProp(w, t) || paraProp(w, t) || tableProp(w, t) ||
        sectionProp(w, t))
        return;
}

bool Reader::charProp(QByteArrayView w, const Token& t) {
    State& s = st();
    model::CharFormat& c = s.chp;
    const bool on = !t.hasParam || t.param != 0;
    if (is(w, "plain")) {
        plain(s);
    } else if (is(w, "b")) {
        c.bold = on;
    } else if (is(w, "i")) {
        c.italic = on;
    } else if (is(w, "strike") || is(w, "striked")) {
        c.strike = on;
    } else if (is(w, "v")) {
        c.hidden = on;
    } else if (is(w, "chftn")) {
        // The reference's number: its look is the note's reference format.
        if (s.story == 0)
            noteReference = c;
    } else if (is(w, "ftnalt")) {
        if (s.storyKind == 5)
            s.storyKind = 6;
    } else if (is(w, "ul")) {
        c.underline = on ? model::Underline::Single : model::Underline::None;
    } else if (is(w, "ulnone")) {
        c.underline = model::Underline::None;
    } else if (is(w, "ulw")) {
        c.underline = on ? model::Underline::Words : model::Underline::None;
    } else if (is(w, "uldb")) {
        c.underline = on ? model::Underline::Double : model::Underline::None;
    } else if (is(w, "uld")) {
        c.underline = on ? model::Underline::Dotted : model::Underline::None;
    } else if (is(w, "ulth")) {
        c.underline = on ? model::Underline::Thick : model::Underline::None;
    } else if (is(w, "uldash") || is(w, "uldashd") || is(w, "uldashdd") || is(w, "ulldash")) {
        c.underline = on ? model::Underline::Dash : model::Underline::None;
    } else if (is(w, "ulwave") || is(w, "ulhwave") || is(w, "ululdbwave")) {
        c.underline = on ? model::Underline::Wave : model::Underline::None;
    } else if (is(w, "super")) {
        c.valign = on ? model::VerticalAlign::Superscript : model::VerticalAlign::Baseline;
    } else if (is(w, "sub")) {
        c.valign = on ? model::VerticalAlign::Subscript : model::VerticalAlign::Baseline;
    } else if (is(w, "nosupersub")) {
        c.valign = model::VerticalAlign::Baseline;
    } else if (is(w, "fs")) {
        if (t.param > 0)
            c.halfPoints = std::clamp(t.param, 1, 3276);
    } else if (is(w, "f")) {
        setFont(t.param, false);
    } else if (is(w, "af")) {
        setFont(t.param, true);
    } else if (is(w, "loch")) {
        s.mode = CharMode::Low;
    } else if (is(w, "hich")) {
        s.mode = CharMode::High;
    } else if (is(w, "dbch")) {
        s.mode = CharMode::Double;
    } else if (is(w, "rtlch")) {
        s.mode = CharMode::RightToLeft;
    } else if (is(w, "ltrch")) {
        s.mode = CharMode::Low;
    } else if (is(w, "cf")) {
        c.color = color(t.param);
    } else if (is(w, "chcbpat") || is(w, "cb") || is(w, "highlight")) {
        c.background = color(t.param);
    } else if (is(w, "expndtw")) {
        c.spacing = clampTwips(t.param);
    } else if (is(w, "expnd")) {
        c.spacing = clampTwips(t.param) * 5; // quarter points
    } else if (is(w, "kerning")) {
        c.kerning = std::clamp(t.param, 0, 3276);
    } else if (is(w, "cs")) {
        if (const auto it = charStyles.constFind(t.param); it != charStyles.cend()) {
            c = it->chp;
            s.font = it->font;
            s.eaFont = it->eaFont;
        }
    } else {
        return false;
    }
    return true;
}

bool Reader::paraProp(QByteArrayView w, const Token& t) {
    State& s = st();
    model::ParaFormat& p = s.pap;
    const int v = clampTwips(t.param);
    if (is(w, "pard")) {
        pard(s);
    } else if (is(w, "s")) {
        if (const auto it = paraStyles.constFind(t.param); it != paraStyles.cend()) {
            const bool inTable = s.inTable;
            const int itap = s.itap;
            p = it->pap;
            s.inTable = inTable;
            s.itap = itap;
            s.chp = it->chp;
            s.font = it->font;
            s.eaFont = it->eaFont;
        } else {
            p.styleName.clear();
        }
    } else if (is(w, "ql")) {
        p.align = model::Alignment::Left;
    } else if (is(w, "qc")) {
        p.align = model::Alignment::Center;
    } else if (is(w, "qr")) {
        p.align = model::Alignment::Right;
    } else if (is(w, "qj")) {
        p.align = model::Alignment::Justify;
    } else if (is(w, "qd") || is(w, "qt")) {
        p.align = model::Alignment::Distribute;
    } else if (is(w, "li") || is(w, "lin")) {
        p.leftIndent = v;
    } else if (is(w, "ri") || is(w, "rin")) {
        p.rightIndent = v;
    } else if (is(w, "fi")) {
        p.firstLineIndent = v;
    } else if (is(w, "sb")) {
        p.spaceBefore = v;
    } else if (is(w, "sa")) {
        p.spaceAfter = v;
    } else if (is(w, "sl")) {
        if (v == 0) {
            p.lineSpacing = 240;
            p.lineRule = model::LineRule::Auto;
        } else if (v < 0) {
            p.lineSpacing = -v;
            p.lineRule = model::LineRule::Exact;
        } else {
            p.lineSpacing = v;
            p.lineRule = model::LineRule::AtLeast;
        }
    } else if (is(w, "slmult")) {
        if (t.param == 1 && p.lineRule == model::LineRule::AtLeast)
            p.lineRule = model::LineRule::Auto;
    } else if (is(w, "pagebb")) {
        p.pageBreakBefore = !t.hasParam || t.param != 0;
    } else if (is(w, "keepn")) {
        p.keepWithNext = !t.hasParam || t.param != 0;
    } else if (is(w, "keep")) {
        p.keepTogether = !t.hasParam || t.param != 0;
    } else if (is(w, "tqc")) {
        s.tab.align = model::TabAlign::Center;
    } else if (is(w, "tqr")) {
        s.tab.align = model::TabAlign::Right;
    } else if (is(w, "tqdec")) {
        s.tab.align = model::TabAlign::Decimal;
    } else if (is(w, "tldot")) {
        s.tab.leader = model::TabLeader::Dots;
    } else if (is(w, "tlhyph")) {
        s.tab.leader = model::TabLeader::Hyphens;
    } else if (is(w, "tlul")) {
        s.tab.leader = model::TabLeader::Underscore;
    } else if (is(w, "tlth")) {
        s.tab.leader = model::TabLeader::Heavy;
    } else if (is(w, "tlmdot")) {
        s.tab.leader = model::TabLeader::MiddleDot;
    } else if (is(w, "tx") || is(w, "tb")) {
        model::TabStop tab = s.tab;
        tab.position = v;
        if (is(w, "tb"))
            tab.align = model::TabAlign::Bar;
        s.tab = model::TabStop();
        if (p.tabs.size() < 64)
            p.tabs.push_back(tab);
    } else if (is(w, "intbl")) {
        s.inTable = true;
        s.itap = std::max(s.itap, 1);
    } else if (is(w, "itap")) {
        s.itap = std::clamp(t.param, 0, kMaxTableDepth);
        s.inTable = s.itap > 0;
    } else if (is(w, "ls")) {
        p.listId = std::max(0, t.param);
    } else if (is(w, "ilvl")) {
        p.listLevel = std::clamp(t.param, 0, 8);
    } else if (is(w, "absw")) {
        s.frame.on = true;
        s.frame.width = std::max(0, v);
    } else if (is(w, "absh")) {
        s.frame.on = true;
        s.frame.height = v;
    } else if (is(w, "posx")) {
        s.frame.on = true;
        s.frame.x = v;
    } else if (is(w, "posy")) {
        s.frame.on = true;
        s.frame.y = v;
    } else if (is(w, "phpg")) {
        s.frame.h = model::HorizontalRelation::Page;
    } else if (is(w, "phmrg")) {
        s.frame.h = model::HorizontalRelation::Margin;
    } else if (is(w, "phcol")) {
        s.frame.h = model::HorizontalRelation::Column;
    } else if (is(w, "pvpg")) {
        s.frame.v = model::VerticalRelation::Page;
    } else if (is(w, "pvmrg")) {
        s.frame.v = model::VerticalRelation::Margin;
    } else if (is(w, "pvpara")) {
        s.frame.v = model::VerticalRelation::Paragraph;
    } else if (is(w, "nowrap")) {
        s.frame.wrap = false;
    } else {
        return false;
    }
    return true;
}

bool Reader::sectionProp(QByteArrayView w, const Token& t) {
    const int v = clampTwips(t.param);
    model::PageSetup& pg = section.page;
    // Document-wide page setup: the default of every section.
    struct Pair {
        const char* doc;
        const char* sect;
        model::Twips model::PageSetup::*field;
    };
    static const Pair pairs[] = {
        {"paperw", "pgwsxn", &model::PageSetup::width},
        {"paperh", "pghsxn", &model::PageSetup::height},
        {"margl", "marglsxn", &model::PageSetup::marginLeft},
        {"margr", "margrsxn", &model::PageSetup::marginRight},
        {"margt", "margtsxn", &model::PageSetup::marginTop},
        {"margb", "margbsxn", &model::PageSetup::marginBottom},
        {"headery", "headery", &model::PageSetup::headerDistance},
        {"footery", "footery", &model::PageSetup::footerDistance},
    };
    for (const Pair& p : pairs) {
        if (is(w, p.doc) && !is(w, "headery") && !is(w, "footery")) {
            if (v > 0 || p.field != &model::PageSetup::width) {
                pageDefaults.*p.field = v;
                pg.*p.field = v;
            }
            return true;
        }
        if (is(w, p.sect)) {
            pg.*p.field = v;
            return true;
        }
    }
    if (is(w, "landscape")) {
        pageDefaults.orientation = model::Orientation::Landscape;
        pg.orientation = model::Orientation::Landscape;
    } else if (is(w, "lndscpsxn")) {
        pg.orientation = model::Orientation::Landscape;
    } else if (is(w, "sectd")) {
        section.page = pageDefaults;
        section.start = model::SectionStart::NewPage;
        section.titlePage = false;
    } else if (is(w, "titlepg")) {
        section.titlePage = !t.hasParam || t.param != 0;
    } else if (is(w, "sbknone")) {
        section.start = model::SectionStart::Continuous;
    } else if (is(w, "sbkcol")) {
        section.start = model::SectionStart::NewColumn;
    } else if (is(w, "sbkpage")) {
        section.start = model::SectionStart::NewPage;
    } else if (is(w, "sbkeven")) {
        section.start = model::SectionStart::EvenPage;
    } else if (is(w, "sbkodd")) {
        section.start = model::SectionStart::OddPage;
    } else {
        return false;
    }
    return true;
}

bool Reader::tableProp(QByteArrayView w, const Token& t) {
    State& s = st();
    StoryBuild& sb = story();
    const int depth = std::clamp(std::max(1, s.itap), 1, kMaxTableDepth);
    auto level = [&]() -> Level& {
        while (int(sb.levels.size()) < depth)
            sb.levels.emplace_back();
        return sb.levels[size_t(depth - 1)];
    };
    const int v = clampTwips(t.param);
    auto border = [&]() -> model::Border* {
        model::TableCell& c = level().def.pending;
        switch (s.borderSide) {
        case 0:
            return &c.top;
        case 1:
            return &c.left;
        case 2:
            return &c.bottom;
        case 3:
            return &c.right;
        default:
            return nullptr;
        }
    };
    if (is(w, "trowd")) {
        level().def = RowDef();
        s.borderSide = -1;
    } else if (is(w, "trgaph")) {
        level().def.gap = v;
    } else if (is(w, "trleft")) {
        level().def.left = v;
    } else if (is(w, "trpaddl")) {
        level().def.padLeft = v;
    } else if (is(w, "trqc")) {
        level().def.align = model::Alignment::Center;
    } else if (is(w, "trqr")) {
        level().def.align = model::Alignment::Right;
    } else if (is(w, "trql")) {
        level().def.align = model::Alignment::Left;
    } else if (is(w, "trrh")) {
        level().def.height = v;
    } else if (is(w, "trhdr")) {
        level().def.header = true;
    } else if (is(w, "trkeep")) {
        level().def.cantSplit = true;
    } else if (is(w, "clmgf")) {
        level().def.pending.horizontalMerge = model::Merge::Restart;
    } else if (is(w, "clmrg")) {
        level().def.pending.horizontalMerge = model::Merge::Continue;
    } else if (is(w, "clvmgf")) {
        level().def.pending.verticalMerge = model::Merge::Restart;
    } else if (is(w, "clvmrg")) {
        level().def.pending.verticalMerge = model::Merge::Continue;
    } else if (is(w, "clvertalt")) {
        level().def.pending.valign = model::CellVerticalAlign::Top;
    } else if (is(w, "clvertalc")) {
        level().def.pending.valign = model::CellVerticalAlign::Center;
    } else if (is(w, "clvertalb")) {
        level().def.pending.valign = model::CellVerticalAlign::Bottom;
    } else if (is(w, "clcbpat")) {
        level().def.pending.shading = color(t.param);
    } else if (is(w, "clbrdrt")) {
        s.borderSide = 0;
    } else if (is(w, "clbrdrl")) {
        s.borderSide = 1;
    } else if (is(w, "clbrdrb")) {
        s.borderSide = 2;
    } else if (is(w, "clbrdrr")) {
        s.borderSide = 3;
    } else if (w.startsWith("brdr") || is(w, "brsp")) {
        model::Border* b = border();
        if (!b)
            return is(w, "brdrt") || is(w, "brdrb") || is(w, "brdrl") || is(w, "brdrr") ||
                   w.startsWith("brdr");
        if (is(w, "brdrs") || is(w, "brdrsh") || is(w, "brdrhair"))
            b->style = model::BorderStyle::Single;
        else if (is(w, "brdrth"))
            b->style = model::BorderStyle::Thick;
        else if (is(w, "brdrdb"))
            b->style = model::BorderStyle::Double;
        else if (is(w, "brdrdot"))
            b->style = model::BorderStyle::Dotted;
        else if (is(w, "brdrdash") || is(w, "brdrdashsm"))
            b->style = model::BorderStyle::Dashed;
        else if (is(w, "brdrnone") || is(w, "brdrnil"))
            b->style = model::BorderStyle::None;
        else if (is(w, "brdrw"))
            b->width = std::clamp(v, 0, 1440);
        else if (is(w, "brdrcf"))
            b->color = color(t.param);
        else if (is(w, "brsp"))
            b->space = std::clamp(v, 0, 1440);
        else if (w.startsWith("brdr") && w.size() > 4 && b->style == model::BorderStyle::None)
            b->style = model::BorderStyle::Single; // other line kinds
    } else if (is(w, "cellx")) {
        Level& l = level();
        if (l.def.cells.size() >= 1000 || !spend(sizeof(CellDef)))
            return true;
        CellDef c;
        c.right = v;
        c.props = l.def.pending;
        l.def.cells.push_back(c);
        l.def.pending = model::TableCell();
        s.borderSide = -1;
    } else {
        return false;
    }
    return true;
}

bool Reader::pictProp(QByteArrayView w, const Token& t) {
    if (!pict)
        return false;
    PictBuild& p = *pict;
    const int v = std::clamp(t.param, 0, 1 << 24);
    if (is(w, "pngblip"))
        p.type = model::ImageType::Png;
    else if (is(w, "jpegblip"))
        p.type = model::ImageType::Jpeg;
    else if (is(w, "emfblip"))
        p.type = model::ImageType::Emf;
    else if (is(w, "wmetafile"))
        p.type = model::ImageType::Wmf;
    else if (is(w, "dibitmap")) {
        p.type = model::ImageType::Bmp;
        p.dib = true;
    } else if (is(w, "picw"))
        p.picw = v;
    else if (is(w, "pich"))
        p.pich = v;
    else if (is(w, "picwgoal"))
        p.goalw = v;
    else if (is(w, "pichgoal"))
        p.goalh = v;
    else if (is(w, "picscalex"))
        p.scalex = std::clamp(t.param, 1, 10000);
    else if (is(w, "picscaley"))
        p.scaley = std::clamp(t.param, 1, 10000);
    else
        return false;
    return true;
}

bool Reader::shapeProp(QByteArrayView w, const Token& t) {
    if (shapes.empty() || !w.startsWith("shp"))
        return false;
    ShapeBuild& sh = shapes.back();
    const int v = clampTwips(t.param);
    if (is(w, "shpleft"))
        sh.left = v;
    else if (is(w, "shptop"))
        sh.top = v;
    else if (is(w, "shpright"))
        sh.right = v;
    else if (is(w, "shpbottom"))
        sh.bottom = v;
    else if (is(w, "shpbxpage"))
        sh.bx = 0;
    else if (is(w, "shpbxmargin"))
        sh.bx = 1;
    else if (is(w, "shpbxcolumn"))
        sh.bx = 2;
    else if (is(w, "shpbxignore"))
        sh.bx = 3;
    else if (is(w, "shpbypage"))
        sh.by = 0;
    else if (is(w, "shpbymargin"))
        sh.by = 1;
    else if (is(w, "shpbypara"))
        sh.by = 2;
    else if (is(w, "shpbyignore"))
        sh.by = 3;
    else if (is(w, "shpwr"))
        sh.wr = t.param;
    else if (is(w, "shpwrk"))
        sh.wrk = t.param;
    else if (is(w, "shpfblwtxt"))
        sh.below = t.param != 0;
    return true;
}

bool Reader::listProp(QByteArrayView w, const Token& t) {
    const Dest d = st().dest;
    if (d != Dest::ListTable && d != Dest::ListLevelText)
        return false;
    if (is(w, "listid")) {
        if (st().ownsOverride || (!listBuild && !levelBuild))
            overrideListId = t.param;
        else if (listBuild)
            listBuild->id = t.param;
        if (st().ownsOverride)
            overrideListId = t.param;
        return true;
    }
    if (is(w, "ls")) {
        overrideLs = t.param;
        return true;
    }
    if (!levelBuild)
        return true;
    model::ListLevel& l = levelBuild->level;
    if (is(w, "levelnfc") || is(w, "levelnfcn")) {
        l.format = model::numberFormatOfWordCode(t.param);
    } else if (is(w, "levelstartat")) {
        l.start = std::clamp(t.param, 0, 32767);
    } else if (is(w, "li") || is(w, "lin")) {
        l.indent = clampTwips(t.param);
    } else if (is(w, "fi")) {
        l.hanging = -clampTwips(t.param);
    } else if (is(w, "f")) {
        l.font = fontName(t.param);
    }
    return true;
}

} // namespace rtf::rd

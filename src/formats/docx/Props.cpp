// Formatting as the package states it: run and paragraph properties, the
// styles they are based on, lists, theme fonts and relationships.
#include "Reader.h"
#include "Vocab.h"

#include <QSet>

namespace docx::rd {

namespace {

constexpr char kWStrict[] = "http://purl.oclc.org/ooxml/wordprocessingml/main";
constexpr char kRStrict[] = "http://purl.oclc.org/ooxml/officeDocument/relationships";
constexpr int kMaxTwips = 1 << 22;
// basedOn chains longer than this are cut (real ones are a handful deep).
constexpr int kMaxChain = 32;

template <typename T> void take(std::optional<T>& a, const std::optional<T>& b) {
    if (b)
        a = b;
}

template <typename T, typename U> void put(T& a, const std::optional<U>& b) {
    if (b)
        a = *b;
}

model::Color colorAttr(const Xml& x, const char* name) {
    const QString v = x.attr(name);
    return v.isEmpty() || v == QLatin1String("auto") ? model::kAutoColor : colorOf(v);
}

// The highlight colours by name.
model::Color highlightColor(const QString& v) {
    static const std::pair<const char*, model::Color> t[] = {
        {"yellow", model::rgb(255, 255, 0)},     {"green", model::rgb(0, 255, 0)},
        {"cyan", model::rgb(0, 255, 255)},       {"magenta", model::rgb(255, 0, 255)},
        {"blue", model::rgb(0, 0, 255)},         {"red", model::rgb(255, 0, 0)},
        {"darkBlue", model::rgb(0, 0, 128)},     {"darkCyan", model::rgb(0, 128, 128)},
        {"darkGreen", model::rgb(0, 128, 0)},    {"darkMagenta", model::rgb(128, 0, 128)},
        {"darkRed", model::rgb(128, 0, 0)},      {"darkYellow", model::rgb(128, 128, 0)},
        {"darkGray", model::rgb(128, 128, 128)}, {"lightGray", model::rgb(192, 192, 192)},
        {"black", model::rgb(0, 0, 0)},          {"white", model::rgb(255, 255, 255)}};
    for (const auto& [n, c] : t)
        if (v == QLatin1String(n))
            return c;
    return model::kAutoColor;
}

QString themeFont(const Theme& t, const QString& which) {
    if (which.startsWith(QLatin1String("major")))
        return which.endsWith(QLatin1String("EastAsia")) ? t.majorEastAsia : t.majorLatin;
    if (which.startsWith(QLatin1String("minor")))
        return which.endsWith(QLatin1String("EastAsia")) ? t.minorEastAsia : t.minorLatin;
    return {};
}

} // namespace

bool Xml::is(const char* name) const {
    if (x.name() != QLatin1String(name))
        return false;
    const QStringView ns = x.namespaceUri();
    return ns == QLatin1String(kW) || ns == QLatin1String(kWStrict);
}

bool Xml::isIn(const char* ns, const char* name) const {
    return x.name() == QLatin1String(name) && x.namespaceUri() == QLatin1String(ns);
}

QString Xml::attr(const char* name) const {
    for (const QXmlStreamAttribute& a : x.attributes())
        if (a.name() == QLatin1String(name))
            return a.value().toString();
    return {};
}

bool Xml::hasAttr(const char* name) const {
    for (const QXmlStreamAttribute& a : x.attributes())
        if (a.name() == QLatin1String(name))
            return true;
    return false;
}

QString Xml::relAttr(const char* name) const {
    for (const QXmlStreamAttribute& a : x.attributes())
        if (a.name() == QLatin1String(name) &&
            (a.namespaceUri() == QLatin1String(kR) || a.namespaceUri() == QLatin1String(kRStrict)))
            return a.value().toString();
    return {};
}

bool Xml::on() const {
    if (!hasAttr("val"))
        return true;
    const QString v = attr("val");
    return v == QLatin1String("1") || v == QLatin1String("true") || v == QLatin1String("on");
}

std::optional<int> Xml::number(const char* name, int lo, int hi) const {
    const QString v = attr(name);
    if (v.isEmpty())
        return std::nullopt;
    bool ok = false;
    qint64 n = v.toLongLong(&ok);
    if (!ok) {
        // Values with a fraction or a unit ("12.5", "1in" is not taken).
        const double d = v.toDouble(&ok);
        if (!ok || !(d == d))
            return std::nullopt;
        n = d < -1e12 ? qint64(-1e12) : d > 1e12 ? qint64(1e12) : qint64(d);
    }
    return int(std::clamp<qint64>(n, lo, hi));
}

void RunProps::over(const RunProps& o) {
    take(font, o.font);
    take(fontEastAsia, o.fontEastAsia);
    take(halfPoints, o.halfPoints);
    take(spacing, o.spacing);
    take(kerning, o.kerning);
    take(bold, o.bold);
    take(italic, o.italic);
    take(strike, o.strike);
    take(hidden, o.hidden);
    take(underline, o.underline);
    take(valign, o.valign);
    take(color, o.color);
    take(background, o.background);
}

void RunProps::applyTo(model::CharFormat& f) const {
    put(f.font, font);
    put(f.fontEastAsia, fontEastAsia);
    put(f.halfPoints, halfPoints);
    put(f.spacing, spacing);
    put(f.kerning, kerning);
    put(f.bold, bold);
    put(f.italic, italic);
    put(f.strike, strike);
    put(f.hidden, hidden);
    put(f.underline, underline);
    put(f.valign, valign);
    put(f.color, color);
    put(f.background, background);
}

void ParaProps::over(const ParaProps& o) {
    take(align, o.align);
    take(leftIndent, o.leftIndent);
    take(rightIndent, o.rightIndent);
    take(firstLineIndent, o.firstLineIndent);
    take(spaceBefore, o.spaceBefore);
    take(spaceAfter, o.spaceAfter);
    take(lineSpacing, o.lineSpacing);
    take(lineRule, o.lineRule);
    take(pageBreakBefore, o.pageBreakBefore);
    take(keepWithNext, o.keepWithNext);
    take(keepTogether, o.keepTogether);
    take(numId, o.numId);
    take(ilvl, o.ilvl);
    // Tab stops add up level by level; a bounded number is kept.
    for (const TabChange& t : o.tabs)
        if (tabs.size() < 256)
            tabs.push_back(t);
}

void ParaProps::applyTo(model::ParaFormat& f) const {
    put(f.align, align);
    put(f.leftIndent, leftIndent);
    put(f.rightIndent, rightIndent);
    put(f.firstLineIndent, firstLineIndent);
    put(f.spaceBefore, spaceBefore);
    put(f.spaceAfter, spaceAfter);
    put(f.lineSpacing, lineSpacing);
    put(f.lineRule, lineRule);
    put(f.pageBreakBefore, pageBreakBefore);
    put(f.keepWithNext, keepWithNext);
    put(f.keepTogether, keepTogether);
    std::vector<model::TabStop> stops;
    for (const TabChange& t : tabs) {
        std::erase_if(stops,
                      [&](const model::TabStop& s) { return s.position == t.stop.position; });
        if (!t.clear)
            stops.push_back(t.stop);
    }
    std::sort(stops.begin(), stops.end(), [](const model::TabStop& a, const model::TabStop& b) {
        return a.position < b.position;
    });
    f.tabs = std::move(stops);
    if (numId && *numId > 0) {
        f.listId = *numId;
        f.listLevel = std::clamp(ilvl.value_or(0), 0, 8);
    } else {
        f.listId = 0;
        f.listLevel = 0;
    }
}

model::Border readBorder(Xml& x) {
    model::Border b;
    const QString v = x.attr("val");
    b.style = valueOf(borderStyles(), v, model::BorderStyle::Single);
    if (v.isEmpty())
        b.style = model::BorderStyle::None;
    if (const auto sz = x.number("sz", 0, 96))
        b.width = *sz * 20 / 8;
    if (const auto sp = x.number("space", 0, 31))
        b.space = *sp * 20;
    b.color = colorAttr(x, "color");
    x.skip();
    return b;
}

unsigned readTableBorders(Xml& x, model::TableBorders& into) {
    unsigned given = 0;
    while (x.child()) {
        model::Border* line = nullptr;
        unsigned bit = 0;
        if (x.is("top"))
            line = &into.top, bit = 1;
        else if (x.is("left") || x.is("start"))
            line = &into.left, bit = 2;
        else if (x.is("bottom"))
            line = &into.bottom, bit = 4;
        else if (x.is("right") || x.is("end"))
            line = &into.right, bit = 8;
        else if (x.is("insideH"))
            line = &into.insideH, bit = 16;
        else if (x.is("insideV"))
            line = &into.insideV, bit = 32;
        if (!line) {
            x.skip();
            continue;
        }
        *line = readBorder(x);
        given |= bit;
    }
    return given;
}

model::TableBorders Styles::tableBorders(const QString& id) const {
    std::vector<const TableStyle*> chain;
    QSet<QString> seen;
    QString at = id.isEmpty() ? defaultTableStyle : id;
    while (!at.isEmpty() && !seen.contains(at) && int(chain.size()) < kMaxChain) {
        const auto it = tableStyles.constFind(at);
        if (it == tableStyles.cend())
            break;
        seen.insert(at);
        chain.push_back(&*it);
        at = it->basedOn;
    }
    model::TableBorders out;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it)
        out.overlay((*it)->borders, (*it)->given);
    return out;
}

void readRunProps(Xml& x, const Theme& theme, RunProps& out) {
    while (x.child()) {
        if (x.is("rFonts")) {
            QString latin = x.attr("ascii");
            if (latin.isEmpty())
                latin = themeFont(theme, x.attr("asciiTheme"));
            if (latin.isEmpty())
                latin = x.attr("hAnsi");
            if (latin.isEmpty())
                latin = themeFont(theme, x.attr("hAnsiTheme"));
            QString ea = x.attr("eastAsia");
            if (ea.isEmpty())
                ea = themeFont(theme, x.attr("eastAsiaTheme"));
            if (!latin.isEmpty())
                out.font = latin;
            if (!ea.isEmpty())
                out.fontEastAsia = ea;
        } else if (x.is("b")) {
            out.bold = x.on();
        } else if (x.is("i")) {
            out.italic = x.on();
        } else if (x.is("strike") || x.is("dstrike")) {
            out.strike = x.on();
        } else if (x.is("vanish")) {
            out.hidden = x.on();
        } else if (x.is("u")) {
            out.underline = valueOf(underlines(), x.attr("val"), model::Underline::Single);
        } else if (x.is("vertAlign")) {
            const QString v = x.attr("val");
            out.valign = v == QLatin1String("superscript") ? model::VerticalAlign::Superscript
                         : v == QLatin1String("subscript") ? model::VerticalAlign::Subscript
                                                           : model::VerticalAlign::Baseline;
        } else if (x.is("color")) {
            out.color = colorAttr(x, "val");
        } else if (x.is("sz")) {
            if (const auto v = x.number("val", 1, 3276))
                out.halfPoints = *v;
        } else if (x.is("spacing")) {
            if (const auto v = x.number("val", -31680, 31680))
                out.spacing = *v;
        } else if (x.is("kern")) {
            if (const auto v = x.number("val", 0, 3276))
                out.kerning = *v;
        } else if (x.is("shd")) {
            out.background = colorAttr(x, "fill");
        } else if (x.is("highlight")) {
            const model::Color c = highlightColor(x.attr("val"));
            if (c != model::kAutoColor || x.attr("val") == QLatin1String("none"))
                out.background = c;
        } else if (x.is("rStyle")) {
            out.style = x.attr("val");
        }
        x.skip();
    }
}

void readParaProps(Xml& x, const Theme& theme, ParaProps& out, RunProps* mark,
                   const std::function<bool()>& other) {
    while (x.child()) {
        if (x.is("pStyle")) {
            out.style = x.attr("val");
        } else if (x.is("jc")) {
            out.align = valueOf(alignments(), x.attr("val"), model::Alignment::Left);
        } else if (x.is("ind")) {
            const auto left = x.hasAttr("left") ? x.number("left", -kMaxTwips, kMaxTwips)
                                                : x.number("start", -kMaxTwips, kMaxTwips);
            const auto right = x.hasAttr("right") ? x.number("right", -kMaxTwips, kMaxTwips)
                                                  : x.number("end", -kMaxTwips, kMaxTwips);
            take(out.leftIndent, left);
            take(out.rightIndent, right);
            if (const auto h = x.number("hanging", 0, kMaxTwips))
                out.firstLineIndent = -*h;
            else if (const auto f = x.number("firstLine", 0, kMaxTwips))
                out.firstLineIndent = *f;
        } else if (x.is("spacing")) {
            take(out.spaceBefore, x.number("before", 0, kMaxTwips));
            take(out.spaceAfter, x.number("after", 0, kMaxTwips));
            if (const auto line = x.number("line", 0, kMaxTwips)) {
                const QString rule = x.attr("lineRule");
                out.lineRule = rule == QLatin1String("exact")     ? model::LineRule::Exact
                               : rule == QLatin1String("atLeast") ? model::LineRule::AtLeast
                                                                  : model::LineRule::Auto;
                out.lineSpacing = *line;
            }
        } else if (x.is("keepNext")) {
            out.keepWithNext = x.on();
        } else if (x.is("keepLines")) {
            out.keepTogether = x.on();
        } else if (x.is("pageBreakBefore")) {
            out.pageBreakBefore = x.on();
        } else if (x.is("tabs")) {
            while (x.child()) {
                if (x.is("tab")) {
                    TabChange t;
                    const QString v = x.attr("val");
                    t.clear = v == QLatin1String("clear");
                    t.stop.align = valueOf(tabAligns(), v, model::TabAlign::Left);
                    t.stop.leader = valueOf(tabLeaders(), x.attr("leader"), model::TabLeader::None);
                    t.stop.position = x.number("pos", -kMaxTwips, kMaxTwips).value_or(0);
                    if (out.tabs.size() < 256)
                        out.tabs.push_back(t);
                }
                x.skip();
            }
            continue;
        } else if (x.is("numPr")) {
            while (x.child()) {
                if (x.is("numId"))
                    out.numId = x.number("val", 0, 1 << 30);
                else if (x.is("ilvl"))
                    out.ilvl = x.number("val", 0, 8);
                x.skip();
            }
            continue;
        } else if (x.is("rPr") && mark) {
            readRunProps(x, theme, *mark);
            continue;
        } else if (other && other()) {
            continue;
        }
        x.skip();
    }
}

const Style& Styles::resolved(const QString& id) {
    if (const auto it = cache.constFind(id); it != cache.cend())
        return *it;
    // The chain from the style down to its root, cut at a loop or a bound.
    std::vector<const Style*> chain;
    QSet<QString> seen;
    QString at = id;
    while (!at.isEmpty() && !seen.contains(at) && int(chain.size()) < kMaxChain) {
        const auto it = styles.constFind(at);
        if (it == styles.cend())
            break;
        seen.insert(at);
        chain.push_back(&*it);
        at = it->basedOn;
    }
    Style r;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        r.para.over((*it)->para);
        r.run.over((*it)->run);
    }
    if (!chain.empty()) {
        r.name = chain.front()->name;
        r.type = chain.front()->type;
    }
    return *cache.insert(id, r);
}

QString Styles::nameOf(const QString& id) const {
    const auto it = styles.constFind(id);
    return it == styles.cend() ? QString() : it->name;
}

void Styles::read(const QByteArray& xml, const Theme& theme) {
    Xml x(xml);
    if (!x.child())
        return;
    while (x.child()) {
        if (x.is("docDefaults")) {
            while (x.child()) {
                if (x.is("rPrDefault") || x.is("pPrDefault")) {
                    while (x.child()) {
                        if (x.is("rPr"))
                            readRunProps(x, theme, defaultRun);
                        else if (x.is("pPr"))
                            readParaProps(x, theme, defaultPara, nullptr);
                        else
                            x.skip();
                    }
                } else {
                    x.skip();
                }
            }
        } else if (x.is("style") && styles.size() < 10000) {
            Style s;
            s.type = x.attr("type");
            const QString id = x.attr("styleId");
            const bool isDefault = x.attr("default") == QLatin1String("1") ||
                                   x.attr("default") == QLatin1String("true");
            TableStyle table;
            while (x.child()) {
                if (x.is("name"))
                    s.name = x.attr("val");
                else if (x.is("basedOn"))
                    s.basedOn = x.attr("val");
                else if (x.is("tblPr") && s.type == QLatin1String("table")) {
                    while (x.child()) {
                        if (x.is("tblBorders"))
                            table.given |= readTableBorders(x, table.borders);
                        else
                            x.skip();
                    }
                    continue;
                } else if (x.is("rPr")) {
                    readRunProps(x, theme, s.run);
                    continue;
                } else if (x.is("pPr")) {
                    readParaProps(x, theme, s.para, nullptr);
                    continue;
                }
                x.skip();
            }
            if (s.name.isEmpty())
                s.name = id;
            if (isDefault && s.type == QLatin1String("paragraph"))
                defaultParagraphStyle = id;
            // Only paragraph and character styles format text here; table
            // styles give their tables' borders.
            if (s.type == QLatin1String("paragraph") || s.type == QLatin1String("character"))
                styles.insert(id, s);
            if (s.type == QLatin1String("table") && tableStyles.size() < 10000) {
                table.basedOn = s.basedOn;
                tableStyles.insert(id, table);
                if (isDefault)
                    defaultTableStyle = id;
            }
        } else {
            x.skip();
        }
    }
}

void Numbering::read(const QByteArray& xml, const Theme& theme) {
    struct Abstract {
        std::vector<model::ListLevel> levels;
        std::vector<ParaProps> props;
    };
    QHash<QString, Abstract> abstracts;
    const auto readLevel = [&](Xml& x, model::ListLevel& lv, ParaProps& pp) {
        while (x.child()) {
            if (x.is("start"))
                lv.start = x.number("val", 0, 32767).value_or(1);
            else if (x.is("numFmt"))
                lv.format = valueOf(numberFormats(), x.attr("val"), model::NumberFormat::Decimal);
            else if (x.is("lvlText"))
                lv.text = x.attr("val").left(64);
            else if (x.is("pPr")) {
                readParaProps(x, theme, pp, nullptr);
                lv.indent = pp.leftIndent.value_or(0);
                lv.hanging = std::max(0, -pp.firstLineIndent.value_or(0));
                continue;
            } else if (x.is("rPr")) {
                RunProps r;
                readRunProps(x, theme, r);
                lv.font = r.font.value_or(QString());
                continue;
            }
            x.skip();
        }
    };
    Xml x(xml);
    if (!x.child())
        return;
    while (x.child()) {
        if (x.is("abstractNum") && abstracts.size() < 10000) {
            Abstract a;
            const QString id = x.attr("abstractNumId");
            while (x.child()) {
                if (x.is("lvl")) {
                    const int k = x.number("ilvl", 0, 1 << 20).value_or(0);
                    if (k > 8) {
                        x.skip();
                        continue;
                    }
                    if (int(a.levels.size()) <= k) {
                        a.levels.resize(size_t(k) + 1);
                        a.props.resize(size_t(k) + 1);
                    }
                    readLevel(x, a.levels[size_t(k)], a.props[size_t(k)]);
                } else {
                    x.skip();
                }
            }
            abstracts.insert(id, a);
        } else if (x.is("num") && lists.size() < 10000) {
            const auto numId = x.number("numId", 0, 1 << 30);
            Abstract a;
            while (x.child()) {
                if (x.is("abstractNumId")) {
                    a = abstracts.value(x.attr("val"));
                } else if (x.is("lvlOverride")) {
                    const size_t k = size_t(x.number("ilvl", 0, 1 << 20).value_or(0));
                    if (k > 8) {
                        x.skip();
                        continue;
                    }
                    if (a.levels.size() <= k) {
                        a.levels.resize(k + 1);
                        a.props.resize(k + 1);
                    }
                    while (x.child()) {
                        if (x.is("startOverride"))
                            a.levels[k].start = x.number("val", 0, 32767).value_or(1);
                        else if (x.is("lvl")) {
                            a.props[k] = {};
                            readLevel(x, a.levels[k], a.props[k]);
                            continue;
                        }
                        x.skip();
                    }
                    continue;
                }
                x.skip();
            }
            if (numId && *numId > 0 && !levels.contains(*numId)) {
                model::ListDef def;
                def.id = *numId;
                def.levels = a.levels;
                lists.push_back(def);
                levels.insert(*numId, a.props);
            }
        } else {
            x.skip();
        }
    }
}

const ParaProps* Numbering::level(int numId, int ilvl) const {
    const auto it = levels.constFind(numId);
    if (it == levels.cend() || ilvl < 0 || size_t(ilvl) >= it->size())
        return nullptr;
    return &(*it)[size_t(ilvl)];
}

Theme readTheme(const QByteArray& xml) {
    Theme t;
    Xml x(xml);
    QString* latin = nullptr;
    QString* ea = nullptr;
    QString jpan;
    while (!x.x.atEnd()) {
        x.x.readNext();
        if (x.x.isStartElement()) {
            if (x.isIn(kA, "majorFont") || x.isIn(kA, "minorFont")) {
                const bool major = x.x.name() == QLatin1String("majorFont");
                latin = major ? &t.majorLatin : &t.minorLatin;
                ea = major ? &t.majorEastAsia : &t.minorEastAsia;
                jpan.clear();
            } else if (latin && x.isIn(kA, "latin")) {
                *latin = x.attr("typeface");
            } else if (ea && x.isIn(kA, "ea")) {
                *ea = x.attr("typeface");
            } else if (ea && x.isIn(kA, "font") && x.attr("script") == QLatin1String("Jpan")) {
                jpan = x.attr("typeface");
            }
        } else if (x.x.isEndElement() && ea &&
                   (x.isIn(kA, "majorFont") || x.isIn(kA, "minorFont"))) {
            // Without an East Asian face of its own the Japanese script's is used.
            if (ea->isEmpty())
                *ea = jpan;
            latin = ea = nullptr;
        }
    }
    return t;
}

Rels readRels(const QByteArray& xml) {
    Rels out;
    Xml x(xml);
    if (!x.child())
        return out;
    while (x.child()) {
        if (x.x.name() == QLatin1String("Relationship") && out.size() < 100000) {
            Rel r;
            const QString type = x.attr("Type");
            r.type = type.mid(type.lastIndexOf(u'/') + 1);
            r.target = x.attr("Target");
            r.external =
                x.attr("TargetMode").compare(QLatin1String("External"), Qt::CaseInsensitive) == 0;
            out.insert(x.attr("Id"), r);
        }
        x.skip();
    }
    return out;
}

QString relsPartOf(const QString& part) {
    const qsizetype slash = part.lastIndexOf(u'/');
    return part.left(slash + 1) + QStringLiteral("_rels/") + part.mid(slash + 1) +
           QStringLiteral(".rels");
}

} // namespace docx::rd

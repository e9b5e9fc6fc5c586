// The HTML reader: gumbo's tree walked without recursion into the model.
#include "Document.h"
#include "Html.h"
#include "HtmlDecode.h"
#include "HtmlStyle.h"
#include "Styles.h"
#include "Text.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QUrl>

#include <gumbo.h>

#include <deque>

namespace html {

namespace {

using namespace detail;

constexpr qsizetype kMaxInput = qsizetype(64) << 20; // bytes of HTML
constexpr qint64 kMaxImageBytes = qint64(32) << 20;  // bytes of one picture
constexpr int kMaxImagePixels = 1 << 28;             // width x height
constexpr int kMaxColumns = 1000;                    // as browsers cap colspan
constexpr qint64 kMaxGridSlots = qint64(1) << 21;    // cells of one table's grid
constexpr int kMaxLists = 4000;
constexpr int kBodyHalfPoints = 24; // 12 pt, a browser's medium size

QString attr(const GumboNode* n, const char* name) {
    const GumboAttribute* a = gumbo_get_attribute(&n->v.element.attributes, name);
    return a ? QString::fromUtf8(a->value) : QString();
}

bool hasAttr(const GumboNode* n, const char* name) {
    return gumbo_get_attribute(&n->v.element.attributes, name) != nullptr;
}

const GumboVector& childrenOf(const GumboNode* n) {
    return n->type == GUMBO_NODE_DOCUMENT ? n->v.document.children : n->v.element.children;
}

bool isSpace(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

struct CellData {
    int colspan = 1;
    int rowspan = 1;
    model::Color shading = model::kAutoColor;
    model::CellVerticalAlign valign = model::CellVerticalAlign::Top;
    std::vector<model::Block> blocks;
};

// Deques: an open cell's blocks stay where they are while others are added.
struct TableData {
    std::deque<std::deque<CellData>> rows;
    model::Alignment align = model::Alignment::Left;
};

// What an element sets for its content; restored when it ends.
struct State {
    model::CharFormat format;
    model::Alignment align = model::Alignment::Left;
    QString style; // paragraph style name
    int listId = 0;
    int listLevel = 0;
    int listDepth = 0;
    bool pre = false;
    QString link;
    int linkSerial = 0;
};

struct Frame {
    const GumboNode* node = nullptr;
    unsigned next = 0;
    State saved;
    bool block = false;
    bool cell = false;
    bool table = false;
};

class Builder {
public:
    explicit Builder(const QString& baseDir) : baseDir(baseDir) {
        model::Section& s = doc.lastSection();
        containers.push_back(&s.blocks);
        st.format.halfPoints = kBodyHalfPoints;
        textWidth = std::max(1, s.page.width - s.page.marginLeft - s.page.marginRight);
    }

    model::Document finish() {
        closeParagraph();
        std::vector<model::Block>& body = doc.lastSection().blocks;
        if (body.empty() || body.back().kind != model::Block::Kind::Paragraph)
            body.push_back(model::Block::makeParagraph({}));
        model::normalize(doc);
        return std::move(doc);
    }

    void walk(const GumboNode* root) {
        std::vector<Frame> stack;
        stack.push_back({root, 0, st, false, false, false});
        while (!stack.empty()) {
            const size_t top = stack.size() - 1;
            const GumboVector& kids = childrenOf(stack[top].node);
            if (stack[top].next >= kids.length) {
                leave(stack[top]);
                stack.pop_back();
                continue;
            }
            const auto* child = static_cast<const GumboNode*>(kids.data[stack[top].next++]);
            switch (child->type) {
            case GUMBO_NODE_TEXT:
            case GUMBO_NODE_WHITESPACE:
            case GUMBO_NODE_CDATA:
                text(QString::fromUtf8(child->v.text.text));
                break;
            case GUMBO_NODE_ELEMENT: {
                Frame f{child, 0, st, false, false, false};
                if (enter(f))
                    stack.push_back(std::move(f));
                else
                    st = f.saved;
                break;
            }
            default:
                break;
            }
        }
    }

private:
    model::Paragraph& para() { return containers.back()->back().paragraph; }

    void openParagraph() {
        if (paraOpen)
            return;
        model::Paragraph p;
        p.format.align = st.align;
        p.format.styleName = st.style;
        p.format.listId = st.listId;
        p.format.listLevel = st.listLevel;
        p.format.pageBreakBefore = pageBreak;
        pageBreak = false;
        p.markFormat = st.format;
        containers.back()->push_back(model::Block::makeParagraph(p));
        paraOpen = true;
        hasText = false;
        lastSpace = false;
        openLink = -1;
    }

    void closeParagraph() {
        trimEnd();
        paraOpen = false;
        lastSpace = false;
        hasText = false;
    }

    // Appends characters in the current format, inside the current link.
    void append(const QString& s) {
        openParagraph();
        model::Paragraph& p = para();
        if (st.link.isEmpty()) {
            p.addText(s, st.format);
        } else if (openLink == st.linkSerial && !p.content.empty() &&
                   p.content.back().kind == model::Inline::Kind::Field) {
            std::vector<model::Inline>& r = p.content.back().field.result;
            if (!r.empty() && r.back().kind == model::Inline::Kind::Text &&
                r.back().format == st.format)
                r.back().text += s;
            else
                r.push_back(model::Inline::makeText(s, st.format));
        } else {
            model::Field f;
            f.type = model::FieldType::Hyperlink;
            f.target = st.link;
            f.kind = 1;
            f.result.push_back(model::Inline::makeText(s, st.format));
            p.content.push_back(model::Inline::makeField(f, st.format));
            openLink = st.linkSerial;
        }
        hasText = true;
    }

    void text(const QString& s) {
        if (st.pre) {
            const QStringList lines = s.split(u'\n');
            for (qsizetype i = 0; i < lines.size(); ++i) {
                if (i > 0) {
                    openParagraph();
                    closeParagraph();
                }
                QString line = lines[i];
                line.remove(u'\r');
                if (!line.isEmpty())
                    append(line);
            }
            return;
        }
        // White space collapses to one space where it stands; none at a
        // line's start, and the one at its end is dropped when it closes.
        QString run;
        for (QChar c : s) {
            if (isSpace(c)) {
                if (paraOpen && (hasText || !run.isEmpty()) && !lastSpace) {
                    run += u' ';
                    lastSpace = true;
                }
                continue;
            }
            openParagraph();
            run += c;
            lastSpace = false;
        }
        if (!run.isEmpty())
            append(run);
    }

    // The space a paragraph ends with is no part of what is shown.
    void trimEnd() {
        if (!paraOpen || st.pre)
            return;
        std::vector<model::Inline>* runs = &para().content;
        if (!runs->empty() && runs->back().kind == model::Inline::Kind::Field)
            runs = &runs->back().field.result;
        if (!runs->empty() && runs->back().kind == model::Inline::Kind::Text &&
            runs->back().text.endsWith(u' ')) {
            runs->back().text.chop(1);
            if (runs->back().text.isEmpty())
                runs->pop_back();
        }
    }

    void lineBreak() {
        openParagraph();
        trimEnd();
        para().addText(QString(QChar(model::kLineBreak)), st.format);
        lastSpace = true; // white space after a break is dropped too
    }

    void heading(int level) {
        static const int sizes[] = {48, 36, 28, 24, 20, 16};
        st.format.bold = true;
        st.format.halfPoints = sizes[level - 1];
        if (level <= 3)
            st.style = model::editorStyleName(level - 1);
    }

    void startList(const GumboNode* n, bool ordered) {
        const int level = std::min(st.listDepth, 8);
        if (int(doc.lists.size()) < kMaxLists) {
            model::ListDef def;
            def.id = int(doc.lists.size()) + 1;
            const QString type = attr(n, "type");
            model::NumberFormat fmt = model::NumberFormat::Decimal;
            if (type == QLatin1String("a"))
                fmt = model::NumberFormat::LowerLetter;
            else if (type == QLatin1String("A"))
                fmt = model::NumberFormat::UpperLetter;
            else if (type == QLatin1String("i"))
                fmt = model::NumberFormat::LowerRoman;
            else if (type == QLatin1String("I"))
                fmt = model::NumberFormat::UpperRoman;
            bool ok = false;
            const int start = attr(n, "start").left(9).toInt(&ok);
            static const char16_t bullets[] = {u'•', u'○', u'■'};
            for (int k = 0; k < 9; ++k) {
                model::ListLevel l;
                l.format = ordered ? fmt : model::NumberFormat::Bullet;
                l.text =
                    ordered ? QStringLiteral("%%1.").arg(k + 1) : QString(QChar(bullets[k % 3]));
                l.start = ordered && ok ? std::max(0, start) : 1;
                l.indent = 420 * (k + 1);
                l.hanging = 420;
                def.levels.push_back(l);
            }
            doc.lists.push_back(def);
        }
        st.listId = doc.lists.empty() ? 0 : int(doc.lists.size());
        st.listLevel = level;
        ++st.listDepth;
    }

    // Image bytes from a data URL or a local file; nothing from the network.
    std::optional<QByteArray> imageBytes(const QString& src) const {
        const QString s = src.trimmed();
        if (s.startsWith(QLatin1String("data:"), Qt::CaseInsensitive)) {
            const qsizetype comma = s.indexOf(u',');
            if (comma < 0 || (s.size() - comma) / 4 * 3 > kMaxImageBytes)
                return std::nullopt;
            const QByteArray payload = s.mid(comma + 1).toLatin1();
            return s.left(comma).contains(QLatin1String(";base64"), Qt::CaseInsensitive)
                       ? QByteArray::fromBase64(payload)
                       : QByteArray::fromPercentEncoding(payload);
        }
        QString path;
        const QUrl url(s);
        if (url.isLocalFile())
            path = url.toLocalFile();
        else if (url.scheme().size() > 1)
            return std::nullopt; // http, https, ...: not fetched
        else
            path = QUrl::fromPercentEncoding(s.section(u'?', 0, 0).section(u'#', 0, 0).toUtf8());
        if (QDir::isRelativePath(path)) {
            if (baseDir.isEmpty())
                return std::nullopt;
            path = QDir(baseDir).filePath(path);
        }
        const QFileInfo fi(path);
        if (!fi.isFile() || fi.size() > kMaxImageBytes)
            return std::nullopt;
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return std::nullopt;
        return f.readAll();
    }

    void image(const GumboNode* n) {
        const std::optional<QByteArray> bytes = imageBytes(attr(n, "src"));
        model::Picture pic;
        if (bytes && !bytes->isEmpty()) {
            QBuffer buf;
            buf.setData(*bytes);
            buf.open(QIODevice::ReadOnly);
            QImageReader reader(&buf);
            const QByteArray fmt = reader.format().toLower();
            const QSize size = reader.size();
            static const QHash<QByteArray, model::ImageType> types{
                {"png", model::ImageType::Png},  {"jpeg", model::ImageType::Jpeg},
                {"jpg", model::ImageType::Jpeg}, {"bmp", model::ImageType::Bmp},
                {"gif", model::ImageType::Gif},  {"tiff", model::ImageType::Tiff},
                {"tif", model::ImageType::Tiff}};
            if (types.contains(fmt) && size.width() > 0 && size.height() > 0 &&
                qint64(size.width()) * size.height() <= kMaxImagePixels) {
                pic.data = *bytes;
                pic.type = types.value(fmt);
                pic.width = size.width() * 15;
                pic.height = size.height() * 15;
            }
        }
        if (pic.data.isEmpty()) {
            // What a browser shows for a picture it cannot load.
            const QString alt = attr(n, "alt").simplified();
            if (!alt.isEmpty())
                text(alt);
            return;
        }
        const auto style = parseStyle(attr(n, "style"));
        auto dimension = [&](const char* name, int natural) -> std::optional<int> {
            QString v = style.value(QString::fromLatin1(name));
            if (v.isEmpty())
                v = attr(n, name);
            if (v.endsWith(u'%') || v.isEmpty())
                return std::nullopt;
            const std::optional<int> t = parseLength(v);
            if (!t || *t <= 0)
                return std::nullopt;
            return std::clamp(int(qint64(*t) * 100 / std::max(1, natural)), 1, 10000);
        };
        const std::optional<int> sx = dimension("width", pic.width);
        const std::optional<int> sy = dimension("height", pic.height);
        pic.scaleX = sx.value_or(sy.value_or(100));
        pic.scaleY = sy.value_or(sx.value_or(100));
        openParagraph();
        para().content.push_back(model::Inline::makePicture(pic, st.format));
        hasText = true;
    }

    // Element start; false when its content is not walked.
    bool enter(Frame& f) {
        const GumboNode* n = f.node;
        const GumboTag tag = n->v.element.tag;
        switch (tag) {
        case GUMBO_TAG_HEAD:
        case GUMBO_TAG_SCRIPT:
        case GUMBO_TAG_STYLE:
        case GUMBO_TAG_TEMPLATE:
        case GUMBO_TAG_NOSCRIPT:
        case GUMBO_TAG_TITLE:
        case GUMBO_TAG_SELECT:
        case GUMBO_TAG_IFRAME:
        case GUMBO_TAG_OBJECT:
        case GUMBO_TAG_EMBED:
        case GUMBO_TAG_SVG:
        case GUMBO_TAG_MATH:
        case GUMBO_TAG_CANVAS:
        case GUMBO_TAG_AUDIO:
        case GUMBO_TAG_VIDEO:
        case GUMBO_TAG_MAP:
        case GUMBO_TAG_INPUT:
            return false;
        case GUMBO_TAG_BR:
            lineBreak();
            return false;
        case GUMBO_TAG_IMG:
            image(n);
            return false;
        case GUMBO_TAG_HR:
            closeParagraph();
            return false;
        default:
            break;
        }

        bool block = false;
        switch (tag) {
        case GUMBO_TAG_P:
        case GUMBO_TAG_DIV:
        case GUMBO_TAG_BLOCKQUOTE:
        case GUMBO_TAG_ADDRESS:
        case GUMBO_TAG_CENTER:
        case GUMBO_TAG_DT:
        case GUMBO_TAG_DD:
        case GUMBO_TAG_DL:
        case GUMBO_TAG_SECTION:
        case GUMBO_TAG_ARTICLE:
        case GUMBO_TAG_HEADER:
        case GUMBO_TAG_FOOTER:
        case GUMBO_TAG_NAV:
        case GUMBO_TAG_ASIDE:
        case GUMBO_TAG_MAIN:
        case GUMBO_TAG_FIGURE:
        case GUMBO_TAG_FIGCAPTION:
        case GUMBO_TAG_FORM:
        case GUMBO_TAG_FIELDSET:
        case GUMBO_TAG_LEGEND:
        case GUMBO_TAG_CAPTION:
        case GUMBO_TAG_LI:
        case GUMBO_TAG_BODY:
            block = true;
            break;
        case GUMBO_TAG_H1:
        case GUMBO_TAG_H2:
        case GUMBO_TAG_H3:
        case GUMBO_TAG_H4:
        case GUMBO_TAG_H5:
        case GUMBO_TAG_H6:
            block = true;
            heading(int(tag - GUMBO_TAG_H1) + 1);
            break;
        case GUMBO_TAG_PRE:
        case GUMBO_TAG_LISTING:
        case GUMBO_TAG_XMP:
            block = true;
            st.pre = true;
            [[fallthrough]];
        case GUMBO_TAG_CODE:
        case GUMBO_TAG_TT:
        case GUMBO_TAG_KBD:
        case GUMBO_TAG_SAMP:
            st.format.font = st.format.fontEastAsia = QStringLiteral("ＭＳ ゴシック");
            break;
        case GUMBO_TAG_UL:
        case GUMBO_TAG_OL:
        case GUMBO_TAG_MENU:
            block = true;
            startList(n, tag == GUMBO_TAG_OL);
            break;
        case GUMBO_TAG_B:
        case GUMBO_TAG_STRONG:
            st.format.bold = true;
            break;
        case GUMBO_TAG_I:
        case GUMBO_TAG_EM:
        case GUMBO_TAG_CITE:
        case GUMBO_TAG_VAR:
        case GUMBO_TAG_DFN:
            st.format.italic = true;
            break;
        case GUMBO_TAG_U:
        case GUMBO_TAG_INS:
            st.format.underline = model::Underline::Single;
            break;
        case GUMBO_TAG_S:
        case GUMBO_TAG_STRIKE:
        case GUMBO_TAG_DEL:
            st.format.strike = true;
            break;
        case GUMBO_TAG_SUP:
            st.format.valign = model::VerticalAlign::Superscript;
            break;
        case GUMBO_TAG_SUB:
            st.format.valign = model::VerticalAlign::Subscript;
            break;
        case GUMBO_TAG_SMALL:
            st.format.halfPoints = std::max(2, st.format.halfPoints * 5 / 6);
            break;
        case GUMBO_TAG_BIG:
            st.format.halfPoints = std::min(3276, st.format.halfPoints * 6 / 5);
            break;
        case GUMBO_TAG_FONT: {
            if (const auto c = parseColor(attr(n, "color")))
                st.format.color = *c;
            if (const auto hp = fontTagSize(attr(n, "size")))
                st.format.halfPoints = *hp;
            const QString face = attr(n, "face").section(u',', 0, 0).trimmed();
            if (!face.isEmpty() && face.size() < 64)
                st.format.font = st.format.fontEastAsia = face;
            break;
        }
        case GUMBO_TAG_A:
            if (hasAttr(n, "href")) {
                st.link = attr(n, "href").trimmed();
                st.linkSerial = ++linkSerials;
                if (st.format.color == model::kAutoColor)
                    st.format.color = model::rgb(0, 0, 255);
                st.format.underline = model::Underline::Single;
            }
            break;
        case GUMBO_TAG_TABLE:
            closeParagraph();
            tables.emplace_back();
            if (const auto a = parseAlign(attr(n, "align")))
                tables.back().align = *a;
            f.table = true;
            st.align = model::Alignment::Left;
            break;
        case GUMBO_TAG_TR:
            if (!tables.empty())
                tables.back().rows.emplace_back();
            if (const auto a = parseAlign(attr(n, "align")))
                st.align = *a;
            break;
        case GUMBO_TAG_TD:
        case GUMBO_TAG_TH:
            if (tables.empty()) {
                block = true;
                break;
            }
            closeParagraph();
            {
                TableData& t = tables.back();
                if (t.rows.empty())
                    t.rows.emplace_back();
                CellData& c = t.rows.back().emplace_back();
                c.colspan = std::clamp(attr(n, "colspan").left(9).toInt(), 1, kMaxColumns);
                bool ok = false;
                const int rs = attr(n, "rowspan").left(9).toInt(&ok);
                c.rowspan = ok ? std::clamp(rs, 0, 65534) : 1; // 0: to the table's end
                const auto style = parseStyle(attr(n, "style"));
                if (const auto bg = parseColor(
                        style.value(QStringLiteral("background-color"), attr(n, "bgcolor"))))
                    c.shading = *bg;
                const QString va = attr(n, "valign").toLower();
                if (va == QLatin1String("middle") || va == QLatin1String("center"))
                    c.valign = model::CellVerticalAlign::Center;
                else if (va == QLatin1String("bottom"))
                    c.valign = model::CellVerticalAlign::Bottom;
                containers.push_back(&c.blocks);
            }
            f.cell = true;
            if (tag == GUMBO_TAG_TH) {
                st.format.bold = true;
                st.align = model::Alignment::Center;
            }
            break;
        default:
            break;
        }
        if (tag == GUMBO_TAG_CENTER)
            st.align = model::Alignment::Center;
        // Presentational attributes and inline CSS.
        if (const auto a = parseAlign(attr(n, "align")); a && tag != GUMBO_TAG_TABLE)
            st.align = *a;
        QHash<QString, QString> style = parseStyle(attr(n, "style"));
        if (const auto a = parseAlign(style.value(QStringLiteral("text-align"))))
            st.align = *a;
        if (style.value(QStringLiteral("page-break-before")) == QLatin1String("always") ||
            style.value(QStringLiteral("break-before")) == QLatin1String("page"))
            pageBreak = true;
        if (block || f.cell || f.table || tag == GUMBO_TAG_TR) {
            // A block's background is no character shading.
            style.remove(QStringLiteral("background-color"));
            style.remove(QStringLiteral("background"));
        }
        applyCharStyle(style, st.format);
        // Hidden text as Word (and this program) writes it: kept, hidden.
        const bool inlineElement = !block && !f.cell && !f.table && tag != GUMBO_TAG_TR;
        if (inlineElement && style.value(QStringLiteral("mso-hide")) == QLatin1String("all")) {
            st.format.hidden = true;
        } else if (style.value(QStringLiteral("display")) == QLatin1String("none")) {
            leave(f); // what this element opened (a cell, a table) ends with it
            return false;
        }
        if (block) {
            closeParagraph();
            f.block = true;
        }
        return true;
    }

    void leave(const Frame& f) {
        if (f.block || f.cell)
            closeParagraph();
        if (f.cell)
            containers.pop_back();
        if (f.table) {
            closeParagraph();
            if (std::optional<model::Table> t = buildTable(tables.back()))
                containers.back()->push_back(model::Block::makeTable(*t));
            tables.pop_back();
        }
        st = f.saved;
        if (f.node && f.node->type == GUMBO_NODE_ELEMENT && f.node->v.element.tag == GUMBO_TAG_A)
            openLink = -1;
    }

    // The cells on a grid: spans cover the slots to their right and below.
    std::optional<model::Table> buildTable(TableData& t) const {
        struct Slot {
            CellData* cell = nullptr; // the cell whose span covers it
            int dr = 0, dc = 0;       // where in that span
            int rs = 1, cs = 1;
        };
        const int nrows = int(t.rows.size());
        if (nrows == 0)
            return std::nullopt;
        std::vector<std::vector<Slot>> grid(nrows);
        qint64 used = 0;
        for (int r = 0; r < nrows; ++r) {
            size_t col = 0;
            for (CellData& cell : t.rows[r]) {
                while (col < grid[r].size() && grid[r][col].cell)
                    ++col;
                if (col >= size_t(kMaxColumns)) {
                    // No room to the right: the content joins the row's last cell.
                    for (auto it = grid[r].rbegin(); it != grid[r].rend(); ++it)
                        if (it->cell && it->dr == 0 && it->dc == 0) {
                            for (model::Block& b : cell.blocks)
                                it->cell->blocks.push_back(std::move(b));
                            break;
                        }
                    continue;
                }
                int cs = std::min(cell.colspan, kMaxColumns - int(col));
                int rs = cell.rowspan == 0 ? nrows - r : std::min(cell.rowspan, nrows - r);
                if (used + qint64(cs) * rs > kMaxGridSlots)
                    cs = rs = 1;
                used += qint64(cs) * rs;
                for (int dr = 0; dr < rs; ++dr) {
                    std::vector<Slot>& row = grid[r + dr];
                    if (row.size() < col + cs)
                        row.resize(col + cs);
                    for (int dc = 0; dc < cs; ++dc)
                        if (!row[col + dc].cell)
                            row[col + dc] = {&cell, dr, dc, rs, cs};
                }
                col += cs;
            }
        }
        size_t ncols = 1;
        for (const auto& row : grid)
            ncols = std::max(ncols, row.size());
        model::Table table;
        table.align = t.align;
        const int width = std::max(1, int(textWidth / qint64(ncols)));
        for (int r = 0; r < nrows; ++r) {
            model::TableRow row;
            for (size_t c = 0; c < ncols; ++c) {
                model::TableCell tc;
                tc.width = width;
                const Slot s = c < grid[r].size() ? grid[r][c] : Slot{};
                if (s.cell) {
                    tc.horizontalMerge = s.dc > 0   ? model::Merge::Continue
                                         : s.cs > 1 ? model::Merge::Restart
                                                    : model::Merge::None;
                    tc.verticalMerge = s.dr > 0   ? model::Merge::Continue
                                       : s.rs > 1 ? model::Merge::Restart
                                                  : model::Merge::None;
                    tc.shading = s.cell->shading;
                    tc.valign = s.cell->valign;
                    if (s.dr == 0 && s.dc == 0)
                        tc.blocks = std::move(s.cell->blocks);
                }
                if (tc.blocks.empty())
                    tc.blocks.push_back(model::Block::makeParagraph({}));
                row.cells.push_back(std::move(tc));
            }
            table.rows.push_back(std::move(row));
        }
        return table;
    }

    model::Document doc;
    QString baseDir;
    State st;
    std::vector<std::vector<model::Block>*> containers;
    std::deque<TableData> tables;
    int textWidth = 9026;
    bool paraOpen = false;
    bool hasText = false;   // the open paragraph has visible content
    bool lastSpace = false; // the text so far ends with a collapsed space
    bool pageBreak = false; // the next paragraph starts a page
    int linkSerials = 0;
    int openLink = -1; // serial of the link the paragraph's last field belongs to
};

} // namespace

std::optional<model::Document> read(const QByteArray& bytes, QString* error,
                                    const QString& baseDir) {
    if (bytes.size() > kMaxInput) {
        if (error)
            *error = QStringLiteral("the HTML file is larger than %1 MB").arg(kMaxInput >> 20);
        return std::nullopt;
    }
    const QByteArray utf8 = limitDepth(decode(bytes).toUtf8());
    GumboOptions options = kGumboDefaultOptions;
    options.max_errors = 0; // error records copy the open elements: quadratic
    GumboOutput* out = gumbo_parse_with_options(&options, utf8.constData(), size_t(utf8.size()));
    if (!out) {
        if (error)
            *error = QStringLiteral("the HTML file cannot be parsed");
        return std::nullopt;
    }
    Builder b(baseDir);
    b.walk(out->document);
    gumbo_destroy_output(&options, out);
    return b.finish();
}

} // namespace html

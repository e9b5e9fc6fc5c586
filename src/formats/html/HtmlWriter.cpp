// HTML out: blocks, runs, fields and pictures of the model as an HTML page
// with inline styles (see HtmlWriter.h).
#include "HtmlWriter.h"

#include "Document.h"
#include "Pictures.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

namespace html {

namespace {

QString pt(int twips) {
    return QString::number(twips / 20.0, 'g', 6) + QLatin1String("pt");
}

QString colorText(model::Color c) {
    return QStringLiteral("%1%2%3")
        .arg(model::red(c), 2, 16, QChar(u'0'))
        .arg(model::green(c), 2, 16, QChar(u'0'))
        .arg(model::blue(c), 2, 16, QChar(u'0'))
        .toUpper();
}

QString fontFamily(const model::CharFormat& f) {
    QString s = QLatin1String("font-family:'") + f.font + u'\'';
    if (!f.fontEastAsia.isEmpty() && f.fontEastAsia != f.font)
        s += QLatin1String(",'") + f.fontEastAsia + u'\'';
    return s + u';';
}

QString charStyle(const model::CharFormat& f) {
    QString s = fontFamily(f) + QLatin1String("font-size:") + pt(f.halfPoints * 10) + u';';
    if (f.color != model::kAutoColor)
        s += QLatin1String("color:#") + colorText(f.color) + u';';
    if (f.bold)
        s += QLatin1String("font-weight:bold;");
    if (f.italic)
        s += QLatin1String("font-style:italic;");
    if (f.underline != model::Underline::None && f.strike)
        s += QLatin1String("text-decoration:underline line-through;");
    else if (f.underline != model::Underline::None)
        s += QLatin1String("text-decoration:underline;");
    else if (f.strike)
        s += QLatin1String("text-decoration:line-through;");
    if (f.valign == model::VerticalAlign::Superscript)
        s += QLatin1String("vertical-align:super;");
    else if (f.valign == model::VerticalAlign::Subscript)
        s += QLatin1String("vertical-align:sub;");
    if (f.background != model::kAutoColor)
        s += QLatin1String("background-color:#") + colorText(f.background) + u';';
    if (f.spacing != 0)
        s += QLatin1String("letter-spacing:") + pt(f.spacing) + u';';
    // Hidden text as Word writes it: kept in the page, not shown.
    if (f.hidden)
        s += QLatin1String("display:none;mso-hide:all;");
    return s;
}

const char* alignName(model::Alignment a) {
    switch (a) {
    case model::Alignment::Center:
        return "center";
    case model::Alignment::Right:
        return "right";
    case model::Alignment::Justify:
    case model::Alignment::Distribute:
        return "justify";
    default:
        return "left";
    }
}

// The run whose look the paragraph takes: its first text, else its mark.
const model::CharFormat& leadFormat(const model::Paragraph& p) {
    for (const model::Inline& in : p.content)
        if (in.kind == model::Inline::Kind::Text && !in.text.isEmpty())
            return in.format;
    return p.markFormat;
}

// The shading every text run of the paragraph shares, or kAutoColor.
model::Color sharedShading(const model::Paragraph& p) {
    model::Color shared = model::kAutoColor;
    bool any = false;
    for (const model::Inline& in : p.content) {
        if (in.kind != model::Inline::Kind::Text || in.text.isEmpty())
            continue;
        if (any && in.format.background != shared)
            return model::kAutoColor;
        shared = in.format.background;
        any = true;
    }
    return shared;
}

QString paraStyle(const model::Paragraph& p) {
    const model::ParaFormat& f = p.format;
    QString s = QLatin1String("text-align:") + QLatin1String(alignName(f.align)) + u';';
    s += QLatin1String("text-indent:") + pt(f.firstLineIndent) + u';';
    s += QLatin1String("margin-left:") + pt(f.leftIndent) + u';';
    s += QLatin1String("margin-right:") + pt(f.rightIndent) + u';';
    s += QLatin1String("margin-top:") + pt(f.spaceBefore) + u';';
    s += QLatin1String("margin-bottom:") + pt(f.spaceAfter) + u';';
    const model::CharFormat& lead = leadFormat(p);
    // A line height the editor gives in twips (its styles: size x factor)
    // as a percentage of the paragraph's font size; exact heights in points.
    if (f.lineRule == model::LineRule::Auto)
        s += QStringLiteral("line-height:%1%;").arg(qRound(f.lineSpacing * 100.0 / 240));
    else if (f.lineRule == model::LineRule::AtLeast && lead.halfPoints > 0)
        s += QStringLiteral("line-height:%1%;").arg(qRound(f.lineSpacing * 10.0 / lead.halfPoints));
    else
        s += QLatin1String("line-height:") + pt(f.lineSpacing) + u';';
    s += fontFamily(lead) + QLatin1String("font-size:") + pt(lead.halfPoints * 10) + u';';
    if (const model::Color shade = sharedShading(p); shade != model::kAutoColor)
        s += QLatin1String("background-color:#") + colorText(shade) + u';';
    return s;
}

bool isMarker(const QString& target) {
    const QString prefix = target.left(3).toUpper();
    return prefix == QLatin1String("TP_") || prefix == QLatin1String("TG_") ||
           prefix == QLatin1String("DX_");
}

// A link target as a browser address: markers as anchors of the page,
// local absolute paths as file:/// addresses, the rest as given.
QString linkAddress(const QString& target) {
    if (isMarker(target))
        return u'#' + target;
    if (target.startsWith(u'/'))
        return QLatin1String("file://") + target;
    if (target.size() > 2 && target[0].isLetter() && target[1] == u':' &&
        (target[2] == u'\\' || target[2] == u'/'))
        return QLatin1String("file:///") + QString(target).replace(u'\\', u'/');
    return target;
}

class Writer {
public:
    Writer(const QString& path, const WriteOptions& options) : path(path), options(options) {}

    bool run(const model::Document& doc, QString* error) {
        // The pictures replace files of the same names in the folder; other
        // files there are left alone (nothing of the user's is deleted).
        if (!path.isEmpty())
            folder = imageFolderOf(path);
        out += QLatin1String("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\r\n"
                             "<html>\r\n<head>\r\n<meta http-equiv=\"Content-Type\" "
                             "content=\"text/html; charset=UTF-8\">\r\n");
        if (!path.isEmpty()) {
            QString dir = QFileInfo(path).absolutePath();
            if (!dir.endsWith(u'/'))
                dir += u'/';
            out += QLatin1String("<base href=\"") + escaped(QLatin1String("file://") + dir) +
                   QLatin1String("\">\r\n");
        }
        out += QLatin1String("<title></title>\r\n</head>\r\n<body style=\"font-family:'") +
               escaped(model::defaultFontName()) + QLatin1String("';font-size:10pt\">\r\n");
        for (const model::Section& s : doc.sections)
            blocks(s.blocks, doc);
        notes(doc);
        out += QLatin1String("</body>\r\n</html>\r\n");
        if (!failure.isEmpty()) {
            if (error)
                *error = failure;
            return false;
        }
        return true;
    }

    QString out;

private:
    void blocks(const std::vector<model::Block>& list, const model::Document& doc) {
        int openList = 0; // list id of the open <ul>/<ol>
        auto closeList = [&] {
            if (openList)
                out += QLatin1String(listOrdered ? "</ol>\r\n" : "</ul>\r\n");
            openList = 0;
        };
        for (const model::Block& b : list) {
            if (b.kind == model::Block::Kind::Paragraph && b.paragraph.format.listId > 0) {
                const model::Paragraph& p = b.paragraph;
                if (openList != p.format.listId) {
                    closeList();
                    openList = p.format.listId;
                    listOpen(doc.list(openList), p.format.listLevel);
                }
                out += QLatin1String("<li style=\"") + escaped(paraStyle(p)) + QLatin1String("\">");
                inlines(p.content);
                out += QLatin1String("</li>\r\n");
                continue;
            }
            closeList();
            switch (b.kind) {
            case model::Block::Kind::Paragraph:
                paragraph(b.paragraph);
                break;
            case model::Block::Kind::Table:
                table(b.table, doc);
                break;
            case model::Block::Kind::Frame:
                out += QStringLiteral("<div style=\"width:%1;\">\r\n").arg(pt(b.frame.width));
                blocks(b.frame.blocks, doc);
                out += QLatin1String("</div>\r\n");
                break;
            }
        }
        closeList();
    }

    void listOpen(const model::ListDef* def, int level) {
        model::NumberFormat f = model::NumberFormat::Bullet;
        if (def && level >= 0 && size_t(level) < def->levels.size())
            f = def->levels[size_t(level)].format;
        listOrdered = f != model::NumberFormat::Bullet && f != model::NumberFormat::None;
        const char* type = "disc";
        switch (f) {
        case model::NumberFormat::UpperRoman:
            type = "I";
            break;
        case model::NumberFormat::LowerRoman:
            type = "i";
            break;
        case model::NumberFormat::UpperLetter:
            type = "A";
            break;
        case model::NumberFormat::LowerLetter:
            type = "a";
            break;
        case model::NumberFormat::Bullet:
        case model::NumberFormat::None:
            break;
        default:
            type = "1";
        }
        out += QLatin1String(listOrdered ? "<ol type=\"" : "<ul type=\"") + QLatin1String(type) +
               QLatin1String("\">\r\n");
    }

    void paragraph(const model::Paragraph& p) {
        out += QLatin1String("<p style=\"") + escaped(paraStyle(p)) + QLatin1String("\">");
        inlines(p.content);
        out += QLatin1String("</p>\r\n");
    }

    void inlines(const std::vector<model::Inline>& content) {
        for (const model::Inline& in : content) {
            switch (in.kind) {
            case model::Inline::Kind::Text:
                run(in.text, in.format);
                break;
            case model::Inline::Kind::Picture:
                picture(in.picture);
                break;
            case model::Inline::Kind::Field:
                field(in.field);
                break;
            case model::Inline::Kind::BookmarkStart:
                out += QLatin1String("<a name=\"") + escaped(in.text) + QLatin1String("\"></a>");
                break;
            case model::Inline::Kind::Note:
                noteReference(in);
                break;
            case model::Inline::Kind::BookmarkEnd:
                break;
            }
        }
    }

    // A note's reference: its number among the numbered notes of its kind
    // (or its own mark), raised, linking to the note's text at the end of
    // the page, which links back. Anchors are named as Word names them.
    void noteReference(const model::Inline& in) {
        const bool foot = in.note.kind == model::NoteKind::Foot;
        int& numbered = foot ? footNumbers : endNumbers;
        std::vector<PageNote>& list = foot ? footNotes : endNotes;
        const QString label = in.note.mark.isEmpty() ? QString::number(++numbered) : in.note.mark;
        const QString id =
            QLatin1String(foot ? "_ftn" : "_edn") + QString::number(int(list.size()) + 1);
        list.push_back({id, label, &in.note});
        out += QLatin1String("<a name=\"") + id.left(4) + QLatin1String("ref") + id.mid(4) +
               QLatin1String("\" href=\"#") + id + QLatin1String("\">");
        model::CharFormat f = in.format;
        f.valign = model::VerticalAlign::Superscript;
        run(label, f);
        out += QLatin1String("</a>");
    }

    // The notes' text after a rule at the end of the page: footnotes, then
    // endnotes, each opening with its label linking back to its reference.
    void notes(const model::Document& doc) {
        if (footNotes.empty() && endNotes.empty())
            return;
        out += QLatin1String("<hr />\r\n");
        // Indexes, not iterators: a note's text may hold references too.
        for (std::vector<PageNote>* list : {&footNotes, &endNotes}) {
            for (size_t i = 0; i < list->size(); ++i) {
                const PageNote n = (*list)[i];
                std::vector<model::Block> text = n.note->blocks;
                model::Paragraph lead;
                if (!text.empty() && text.front().kind == model::Block::Kind::Paragraph) {
                    lead = text.front().paragraph;
                    text.erase(text.begin());
                }
                out += QLatin1String("<p style=\"") + escaped(paraStyle(lead)) +
                       QLatin1String("\"><a name=\"") + n.id + QLatin1String("\" href=\"#") +
                       n.id.left(4) + QLatin1String("ref") + n.id.mid(4) + QLatin1String("\">");
                model::CharFormat f = leadFormat(lead);
                f.valign = model::VerticalAlign::Superscript;
                run(n.label, f);
                out += QLatin1String("</a>");
                run(QStringLiteral(" "), leadFormat(lead));
                inlines(lead.content);
                out += QLatin1String("</p>\r\n");
                blocks(text, doc);
            }
        }
    }

    void run(const QString& text, const model::CharFormat& f) {
        if (text.isEmpty())
            return;
        out += QLatin1String("<span style=\"") + escaped(charStyle(f)) + QLatin1String("\">");
        QString t = escaped(text);
        t.replace(QChar(model::kLineBreak), QLatin1String("<br />"));
        t.replace(QChar(model::kTab), QLatin1String("&nbsp;&nbsp;&nbsp;&nbsp;"));
        t.remove(QChar(model::kPageBreak));
        t.remove(QChar(model::kColumnBreak));
        t.replace(QChar(model::kNoBreakHyphen), u'-');
        t.remove(QChar(model::kSoftHyphen));
        out += t + QLatin1String("</span>");
    }

    void field(const model::Field& f) {
        if (f.type != model::FieldType::Hyperlink || f.target.isEmpty()) {
            inlines(f.result);
            return;
        }
        out += QLatin1String("<a ");
        const QString prefix = f.target.left(3).toUpper();
        if (prefix == QLatin1String("TP_") || prefix == QLatin1String("DX_"))
            out += QLatin1String("name=\"") + escaped(f.target) + QLatin1String("\" ");
        out += QLatin1String("href=\"") + escaped(linkAddress(f.target)) + QLatin1String("\">");
        inlines(f.result);
        out += QLatin1String("</a>");
    }

    void picture(const model::Picture& pic) {
        QByteArray bytes = pic.data;
        pictures::Type type = pictures::TypeOf(bytes);
        const bool web = type == pictures::Png || type == pictures::Jpeg || type == pictures::Gif;
        const int w = qMax(1, pic.shownWidth() / 15); // pixels at 96 dpi
        const int h = qMax(1, pic.shownHeight() / 15);
        if (!web || (options.allPng && type != pictures::Png)) {
            QImage img = pictures::IsMetafile(type) ? pictures::Render(bytes, QSize(w, h))
                                                    : QImage::fromData(bytes);
            QByteArray png;
            QBuffer buf(&png);
            buf.open(QIODevice::WriteOnly);
            if (img.isNull() || !img.save(&buf, "PNG"))
                return; // nothing a browser could show
            bytes = png;
            type = pictures::Png;
        }
        const char* ext = type == pictures::Jpeg ? "jpg" : type == pictures::Gif ? "gif" : "png";
        const char* mime = type == pictures::Jpeg  ? "image/jpeg"
                           : type == pictures::Gif ? "image/gif"
                                                   : "image/png";
        QString src;
        if (folder.isEmpty()) {
            src = QLatin1String("data:") + QLatin1String(mime) + QLatin1String(";base64,") +
                  QString::fromLatin1(bytes.toBase64());
        } else {
            const QString name = QStringLiteral("image%1.%2").arg(++pictureCount).arg(ext);
            if (!QDir().mkpath(folder)) {
                failure = QStringLiteral("cannot create the folder %1").arg(folder);
                return;
            }
            QSaveFile file(QDir(folder).filePath(name));
            if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() ||
                !file.commit()) {
                failure =
                    QStringLiteral("cannot write %1: %2").arg(file.fileName(), file.errorString());
                return;
            }
            // Blanks as %20, the rest of the name as it is (the export finds
            // the folder by that form).
            src = escaped(QFileInfo(folder).fileName().replace(u' ', QLatin1String("%20"))) + u'/' +
                  name;
        }
        out += QStringLiteral("<img src=\"%1\" width=\"%2\" height=\"%3\" alt=\"\"%4 />")
                   .arg(src)
                   .arg(w)
                   .arg(h)
                   .arg(floatStyle(pic));
    }

    // Text flowing around a picture: the picture floats to the side the
    // text leaves free (for text on both sides, the side it stands nearer);
    // text above and below only: a block of its own.
    static QString floatStyle(const model::Picture& pic) {
        QString side;
        switch (pic.wrap) {
        case model::Wrap::Right:
            side = QStringLiteral("left");
            break;
        case model::Wrap::Left:
            side = QStringLiteral("right");
            break;
        case model::Wrap::Around:
            side = pic.x > 4320 ? QStringLiteral("right") : QStringLiteral("left");
            break;
        case model::Wrap::TopBottom:
            return QStringLiteral(" style=\"display:block;\"");
        default:
            return {};
        }
        return QStringLiteral(" style=\"float:%1;margin:%2;\"").arg(side, pt(pic.wrapDistance));
    }

    void table(const model::Table& t, const model::Document& doc) {
        out += QStringLiteral("<table border=\"1\" cellspacing=\"0\" cellpadding=\"0\" "
                              "cols=\"%1\" style=\"margin-left:%2;\">\r\n")
                   .arg(t.columnCount())
                   .arg(pt(t.indent));
        for (size_t r = 0; r < t.rows.size(); ++r) {
            const model::TableRow& row = t.rows[r];
            out += QLatin1String("<tr>\r\n");
            for (size_t c = 0; c < row.cells.size(); ++c) {
                const model::TableCell& cell = row.cells[c];
                if (cell.horizontalMerge == model::Merge::Continue ||
                    cell.verticalMerge == model::Merge::Continue)
                    continue;
                int colspan = 1;
                model::Twips width = cell.width;
                while (c + size_t(colspan) < row.cells.size() &&
                       row.cells[c + size_t(colspan)].horizontalMerge == model::Merge::Continue)
                    width += row.cells[c + size_t(colspan++)].width;
                int rowspan = 1;
                if (cell.verticalMerge == model::Merge::Restart)
                    while (r + size_t(rowspan) < t.rows.size() &&
                           c < t.rows[r + size_t(rowspan)].cells.size() &&
                           t.rows[r + size_t(rowspan)].cells[c].verticalMerge ==
                               model::Merge::Continue)
                        ++rowspan;
                const char* valign = cell.valign == model::CellVerticalAlign::Center   ? "middle"
                                     : cell.valign == model::CellVerticalAlign::Bottom ? "bottom"
                                                                                       : "top";
                out += QStringLiteral("<td width=\"%1\" valign=\"%2\"")
                           .arg(qMax(1, width / 15))
                           .arg(QLatin1String(valign));
                if (colspan > 1)
                    out += QStringLiteral(" colspan=\"%1\"").arg(colspan);
                if (rowspan > 1)
                    out += QStringLiteral(" rowspan=\"%1\"").arg(rowspan);
                if (cell.shading != model::kAutoColor)
                    out += QLatin1String(" bgcolor=\"#") + colorText(cell.shading) + u'"';
                out += QLatin1String(">\r\n");
                blocks(cell.blocks, doc);
                out += QLatin1String("</td>\r\n");
            }
            out += QLatin1String("</tr>\r\n");
        }
        out += QLatin1String("</table>\r\n");
    }

    struct PageNote {
        QString id;    // the note's anchor; its reference's is "..ref.."
        QString label; // its number or mark
        const model::Note* note;
    };
    std::vector<PageNote> footNotes, endNotes;
    int footNumbers = 0, endNumbers = 0;

    QString path;
    WriteOptions options;
    QString folder;
    QString failure;
    int pictureCount = 0;
    bool listOrdered = false;
};

} // namespace

QString escaped(const QString& s) {
    QString out;
    out.reserve(s.size());
    for (QChar c : s) {
        switch (c.unicode()) {
        case u'&':
            out += QLatin1String("&amp;");
            break;
        case u'<':
            out += QLatin1String("&lt;");
            break;
        case u'>':
            out += QLatin1String("&gt;");
            break;
        case u'"':
            out += QLatin1String("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString imageFolderOf(const QString& path) {
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString base = dot > 0 ? name.left(dot) : name;
    return QDir(info.absolutePath()).filePath(base + QLatin1String("_images"));
}

std::optional<QByteArray> write(const model::Document& doc, const QString& path, QString* error,
                                const WriteOptions& options) {
    Writer w(path, options);
    if (!w.run(doc, error))
        return std::nullopt;
    return w.out.toUtf8();
}

} // namespace html

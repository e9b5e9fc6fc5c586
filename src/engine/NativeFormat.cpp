#include "NativeFormat.h"

#include "ModelBridge.h"

#include "TxBuild.h"
#include "TxCharAttr.h"
#include "TxDocument.h"
#include "TxProps.h"

#include <QBuffer>
#include <QDataStream>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

#include <array>

#include <map>

namespace native {

namespace {

const char kMagic[8] = {'F', 'O', 'L', 'I', 'U', 'M', 'T', 'X'};
constexpr quint8 kBlock = 'B', kTable = 'T', kCell = 'C', kEnd = 'E', kFrame = 'F';

// --- writing ---

void writePage(QDataStream& s, const TxPageSetup& p) {
    s << qint32(p.width) << qint32(p.height) << qint32(p.marginLeft) << qint32(p.marginTop)
      << qint32(p.marginRight) << qint32(p.marginBottom) << qint32(p.headerDistance)
      << qint32(p.footerDistance) << p.landscape;
}

void writeContent(QDataStream& s, QTextFrame::iterator it);

void writeTable(QDataStream& s, QTextTable* t) {
    s << kTable << qint32(t->formatIndex()) << qint32(t->rows()) << qint32(t->columns());
    // Spans come first: a reader merges before it fills the cells.
    std::vector<std::array<qint32, 4>> spans;
    for (int r = 0; r < t->rows(); ++r)
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() == r && cell.column() == c &&
                (cell.rowSpan() > 1 || cell.columnSpan() > 1))
                spans.push_back({r, c, cell.rowSpan(), cell.columnSpan()});
        }
    s << qint32(spans.size());
    for (const auto& sp : spans)
        s << sp[0] << sp[1] << sp[2] << sp[3];
    for (int r = 0; r < t->rows(); ++r)
        for (int c = 0; c < t->columns(); ++c) {
            const QTextTableCell cell = t->cellAt(r, c);
            if (cell.row() != r || cell.column() != c)
                continue;
            s << kCell << qint32(r) << qint32(c) << qint32(cell.tableCellFormatIndex());
            writeContent(s, cell.begin());
        }
    s << kEnd;
}

void writeContent(QDataStream& s, QTextFrame::iterator it) {
    for (; !it.atEnd(); ++it) {
        if (QTextFrame* f = it.currentFrame()) {
            if (auto* t = qobject_cast<QTextTable*>(f)) {
                writeTable(s, t);
            } else {
                // Other frames (from pasted HTML) keep their content inline.
                s << kFrame;
                writeContent(s, f->begin());
            }
            continue;
        }
        const QTextBlock b = it.currentBlock();
        const QTextList* list = b.textList();
        s << kBlock << qint32(b.blockFormatIndex()) << qint32(b.charFormatIndex())
          << qint32(list ? list->formatIndex() : -1);
        qint32 n = 0;
        for (auto f = b.begin(); !f.atEnd(); ++f)
            ++n;
        s << n;
        for (auto f = b.begin(); !f.atEnd(); ++f)
            s << qint32(f.fragment().charFormatIndex()) << f.fragment().text();
    }
    s << kEnd;
}

void writeDoc(QDataStream& s, const QTextDocument* doc) {
    const QList<QTextFormat> formats = doc->allFormats();
    s << qint32(formats.size());
    for (QTextFormat f : formats) {
        if (f.hasProperty(QTextFormat::TabPositions)) {
            // Qt cannot stream its tab positions: they travel as TabStops.
            QTextBlockFormat bf = f.toBlockFormat();
            const QVariantList stops = txattr::tabs(bf, true);
            bf.setProperty(txp::TabStops, stops);
            f = bf;
        }
        s << f;
    }
    writeContent(s, doc->rootFrame()->begin());
}

// --- reading ---

struct Reader {
    QDataStream& s;
    bool ok = true;

    template <typename T> T get() {
        T v{};
        s >> v;
        if (s.status() != QDataStream::Ok)
            ok = false;
        return v;
    }
    // A count that the remaining bytes can hold.
    int count(int perItem = 1) {
        const qint32 n = get<qint32>();
        const qint64 left = s.device()->bytesAvailable();
        if (n < 0 || qint64(n) * perItem > left)
            ok = false;
        return ok ? n : 0;
    }

    TxPageSetup page() {
        TxPageSetup p;
        p.width = get<qint32>();
        p.height = get<qint32>();
        p.marginLeft = get<qint32>();
        p.marginTop = get<qint32>();
        p.marginRight = get<qint32>();
        p.marginBottom = get<qint32>();
        p.headerDistance = get<qint32>();
        p.footerDistance = get<qint32>();
        p.landscape = get<bool>();
        return p;
    }

    struct DocCtx {
        std::vector<QTextFormat> formats;
        std::map<int, QTextList*> lists;
        QTextFormat format(int i) {
            return i >= 0 && i < int(formats.size()) ? formats[size_t(i)] : QTextFormat();
        }
    };

    void content(BlockSink& sink, DocCtx& ctx, int depth) {
        if (depth > 64) {
            ok = false;
            return;
        }
        while (ok) {
            const quint8 tag = get<quint8>();
            if (!ok || tag == kEnd)
                return;
            if (tag == kBlock) {
                QTextBlockFormat bf = ctx.format(get<qint32>()).toBlockFormat();
                const QTextCharFormat cf = ctx.format(get<qint32>()).toCharFormat();
                const int listIdx = get<qint32>();
                bf.clearProperty(QTextFormat::ObjectIndex);
                sink.paragraph(bf, cf);
                if (listIdx >= 0) {
                    QTextCursor& c = sink.cursor();
                    if (QTextList* l = ctx.lists[listIdx]) {
                        l->add(c.block());
                    } else {
                        QTextListFormat lf = ctx.format(listIdx).toListFormat();
                        lf.clearProperty(QTextFormat::ObjectIndex);
                        ctx.lists[listIdx] = c.createList(lf);
                    }
                }
                const int n = count(8);
                for (int i = 0; i < n && ok; ++i) {
                    const QTextCharFormat f = ctx.format(get<qint32>()).toCharFormat();
                    const QString text = get<QString>();
                    if (ok)
                        sink.cursor().insertText(text, f);
                }
            } else if (tag == kTable) {
                QTextTableFormat tf = ctx.format(get<qint32>()).toTableFormat();
                tf.clearProperty(QTextFormat::ObjectIndex);
                const int rows = get<qint32>(), cols = get<qint32>();
                if (!ok || rows < 1 || cols < 1 || qint64(rows) * cols > 1'000'000) {
                    ok = false;
                    return;
                }
                QTextTable* t = sink.table(rows, cols, tf);
                const int nSpans = count(16);
                for (int i = 0; i < nSpans && ok; ++i) {
                    const int r = get<qint32>(), c = get<qint32>();
                    const int rs = get<qint32>(), cs = get<qint32>();
                    if (r < 0 || c < 0 || rs < 1 || cs < 1 || r + rs > rows || c + cs > cols)
                        ok = false;
                    else
                        t->mergeCells(r, c, rs, cs);
                }
                while (ok) {
                    const quint8 ct = get<quint8>();
                    if (ct == kEnd)
                        break;
                    if (ct != kCell) {
                        ok = false;
                        return;
                    }
                    const int r = get<qint32>(), c = get<qint32>();
                    const QTextCharFormat cellf = ctx.format(get<qint32>()).toCharFormat();
                    if (!ok || r < 0 || c < 0 || r >= rows || c >= cols) {
                        ok = false;
                        return;
                    }
                    BlockSink inner(t->cellAt(r, c).firstCursorPosition(), true);
                    content(inner, ctx, depth + 1);
                    t->cellAt(r, c).setFormat(cellf);
                }
                sink.afterTable(t);
            } else if (tag == kFrame) {
                content(sink, ctx, depth + 1);
            } else {
                ok = false;
            }
        }
    }

    void doc(QTextDocument* d) {
        DocCtx ctx;
        const int n = count(4);
        ctx.formats.reserve(size_t(n));
        for (int i = 0; i < n && ok; ++i) {
            QTextFormat f = get<QTextFormat>();
            if (f.isBlockFormat() && f.boolProperty(QTextFormat::BlockNonBreakableLines)) {
                // Files of earlier versions kept "lines together" as Qt's
                // non-breakable lines, which do not wrap.
                f.clearProperty(QTextFormat::BlockNonBreakableLines);
                f.setProperty(txp::KeepTogether, true);
            }
            if (f.isBlockFormat() && f.hasProperty(txp::TabStops)) {
                QTextBlockFormat bf = f.toBlockFormat();
                txattr::setTabs(bf, bf.property(txp::TabStops).toList());
                f = bf;
            }
            ctx.formats.push_back(f);
        }
        const bool undo = d->isUndoRedoEnabled();
        d->setUndoRedoEnabled(false);
        BlockSink sink{QTextCursor(d)};
        content(sink, ctx, 0);
        d->setUndoRedoEnabled(undo);
    }
};

} // namespace

bool looksNative(const QByteArray& bytes) {
    return bytes.size() >= 12 && memcmp(bytes.constData(), kMagic, 8) == 0;
}

QByteArray save(const TxDocument& doc) {
    QByteArray out;
    QDataStream s(&out, QIODevice::WriteOnly);
    s.writeRawData(kMagic, 8);
    s << kVersion;
    s.setVersion(QDataStream::Qt_6_4);
    writePage(s, doc.page);
    s << doc.titlePage << qint32(doc.sectionStart) << qint32(doc.defaultTabStop)
      << qint32(doc.lastId()) << qint32(doc.lastOrder());
    s << qint32(doc.imageData.size());
    for (auto it = doc.imageData.cbegin(); it != doc.imageData.cend(); ++it)
        s << it.key() << it->bytes << qint32(it->type);
    s << qint32(doc.lists.size());
    for (const TxListDef& l : doc.lists) {
        s << qint32(l.id) << qint32(l.levels.size());
        for (const TxListLevel& lv : l.levels)
            s << qint32(lv.format) << lv.text << qint32(lv.start) << qint32(lv.indent)
              << qint32(lv.hanging) << lv.font;
    }
    // Documents, in the order anchors refer to them by.
    const std::vector<QTextDocument*> docs = doc.allDocuments();
    writeDoc(s, doc.body());
    s << quint8(doc.partMask());
    for (int bit : {1, 2, 4, 8})
        if (const QTextDocument* p = doc.part(bit))
            writeDoc(s, p);
    s << qint32(doc.frames.size());
    for (const auto& f : doc.frames)
        writeDoc(s, f->doc.get());
    s << qint32(doc.sections.size());
    for (const auto& sec : doc.sections) {
        writePage(s, sec->page);
        s << qint32(sec->start) << sec->titlePage;
        quint8 mask = 0;
        for (int i = 0; i < 4; ++i)
            if (sec->parts[size_t(i)])
                mask |= quint8(1 << i);
        s << mask;
        for (const auto& p : sec->parts)
            if (p)
                writeDoc(s, p.get());
    }
    auto docIndex = [&](const QTextDocument* d) {
        for (size_t i = 0; i < docs.size(); ++i)
            if (docs[i] == d)
                return qint32(i);
        return qint32(0);
    };
    for (const auto& f : doc.frames)
        s << qint32(f->id) << qint32(f->x) << qint32(f->y) << qint32(f->width) << qint32(f->height)
          << qint32(f->heightRule) << qint32(f->hRel) << qint32(f->vRel) << f->wrapAround
          << qint32(f->border.style) << qint32(f->border.width) << f->border.color
          << qint32(f->border.space) << docIndex(f->anchor.document())
          << qint32(f->anchor.position()) << qint32(f->order);
    s << qint32(doc.images.size());
    for (const auto& im : doc.images)
        s << qint32(im->id) << im->name << qint32(im->width) << qint32(im->height)
          << qint32(im->scaleX) << qint32(im->scaleY) << qint32(im->wrap) << qint32(im->x)
          << qint32(im->y) << qint32(im->hRel) << qint32(im->vRel) << qint32(im->distance)
          << im->behindText << qint32(im->layout) << im->fileName << qint32(im->exportSetting)
          << qint32(im->exportFlag) << docIndex(im->anchor.document())
          << qint32(im->anchor.position()) << QTextFormat(im->format) << qint32(im->order)
          << qint32(im->fieldId);
    s << qint32(doc.marks.size());
    for (const TxMark& m : doc.marks)
        s << qint32(m.kind) << m.name << QTextFormat(m.field) << docIndex(m.at.document())
          << qint32(m.at.position()) << qint32(m.order) << qint32(m.fieldId);
    // Notes last (files without them end before): each note's text as a
    // native document of its own.
    s << qint32(doc.notes.size());
    for (const model::Note& n : doc.notes) {
        model::Document text;
        text.lastSection().blocks = n.blocks;
        TxDocument part;
        bridge::toEngine(text, part);
        s << qint32(n.kind) << n.mark << save(part);
    }
    return out;
}

bool load(const QByteArray& bytes, TxDocument& out, QString* error) {
    auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (!looksNative(bytes))
        return fail(QStringLiteral("not a native document"));
    QBuffer buf;
    buf.setData(bytes);
    buf.open(QIODevice::ReadOnly);
    QDataStream s(&buf);
    s.skipRawData(8);
    quint32 version = 0;
    s >> version;
    if (version == 0 || version > kVersion)
        return fail(
            QStringLiteral("native document version %1 is newer than this program").arg(version));
    s.setVersion(QDataStream::Qt_6_4);
    Reader r{s};
    TxDocument tx;
    tx.page = r.page();
    tx.titlePage = r.get<bool>();
    tx.sectionStart = r.get<qint32>();
    tx.defaultTabStop = r.get<qint32>();
    const int lastId = r.get<qint32>(), lastOrder = r.get<qint32>();
    const int nImages = r.count(8);
    for (int i = 0; i < nImages && r.ok; ++i) {
        const QString name = r.get<QString>();
        const QByteArray data = r.get<QByteArray>();
        const int type = r.get<qint32>();
        if (!r.ok)
            break;
        TxImageData d;
        d.bytes = data;
        d.type = type;
        d.image.loadFromData(data);
        tx.imageData.insert(name, d);
    }
    const int nLists = r.count(8);
    for (int i = 0; i < nLists && r.ok; ++i) {
        TxListDef l;
        l.id = r.get<qint32>();
        const int levels = r.count(20);
        for (int k = 0; k < levels && r.ok; ++k) {
            TxListLevel lv;
            lv.format = r.get<qint32>();
            lv.text = r.get<QString>();
            lv.start = r.get<qint32>();
            lv.indent = r.get<qint32>();
            lv.hanging = r.get<qint32>();
            lv.font = r.get<QString>();
            l.levels.push_back(lv);
        }
        tx.lists.push_back(l);
    }
    auto addResources = [&](QTextDocument* d) {
        for (auto it = tx.imageData.cbegin(); it != tx.imageData.cend(); ++it)
            d->addResource(QTextDocument::ImageResource, QUrl(it.key()), it->image);
    };
    addResources(tx.body());
    r.doc(tx.body());
    const quint8 mask = r.get<quint8>();
    for (int bit : {1, 2, 4, 8})
        if (r.ok && (mask & bit))
            r.doc(tx.ensurePart(bit));
    const int nFrames = r.count(8);
    for (int i = 0; i < nFrames && r.ok; ++i) {
        auto f = std::make_unique<TxFrame>();
        f->doc = tx.newPartDocument();
        r.doc(f->doc.get());
        tx.frames.push_back(std::move(f));
    }
    const int nSections = r.count(40);
    for (int i = 0; i < nSections && r.ok; ++i) {
        auto sec = std::make_unique<TxSection>();
        sec->page = r.page();
        sec->start = r.get<qint32>();
        sec->titlePage = r.get<bool>();
        const quint8 m = r.get<quint8>();
        for (int k = 0; k < 4 && r.ok; ++k)
            if (m & (1 << k)) {
                sec->parts[size_t(k)] = tx.newPartDocument();
                r.doc(sec->parts[size_t(k)].get());
            }
        tx.sections.push_back(std::move(sec));
    }
    const std::vector<QTextDocument*> docs = tx.allDocuments();
    auto docAt = [&](int i) -> QTextDocument* {
        if (i < 0 || i >= int(docs.size())) {
            r.ok = false;
            return tx.body();
        }
        return docs[size_t(i)];
    };
    for (auto& f : tx.frames) {
        if (!r.ok)
            break;
        f->id = r.get<qint32>();
        f->x = r.get<qint32>();
        f->y = r.get<qint32>();
        f->width = r.get<qint32>();
        f->height = r.get<qint32>();
        f->heightRule = r.get<qint32>();
        f->hRel = TxHRel(r.get<qint32>());
        f->vRel = TxVRel(r.get<qint32>());
        f->wrapAround = r.get<bool>();
        f->border.style = r.get<qint32>();
        f->border.width = r.get<qint32>();
        f->border.color = r.get<quint32>();
        f->border.space = r.get<qint32>();
        QTextDocument* d = docAt(r.get<qint32>());
        f->anchor = TxDocument::anchorAt(d, r.get<qint32>());
        f->order = r.get<qint32>();
    }
    const int nFloats = r.count(60);
    for (int i = 0; i < nFloats && r.ok; ++i) {
        auto im = std::make_unique<TxImage>();
        im->id = r.get<qint32>();
        im->name = r.get<QString>();
        im->width = r.get<qint32>();
        im->height = r.get<qint32>();
        im->scaleX = r.get<qint32>();
        im->scaleY = r.get<qint32>();
        im->wrap = r.get<qint32>();
        im->x = r.get<qint32>();
        im->y = r.get<qint32>();
        im->hRel = TxHRel(r.get<qint32>());
        im->vRel = TxVRel(r.get<qint32>());
        im->distance = r.get<qint32>();
        im->behindText = r.get<bool>();
        im->layout = r.get<qint32>();
        im->fileName = r.get<QString>();
        im->exportSetting = r.get<qint32>();
        im->exportFlag = r.get<qint32>();
        QTextDocument* d = docAt(r.get<qint32>());
        im->anchor = TxDocument::anchorAt(d, r.get<qint32>());
        im->format = r.get<QTextFormat>().toCharFormat();
        im->order = r.get<qint32>();
        im->fieldId = r.get<qint32>();
        tx.images.push_back(std::move(im));
    }
    const int nMarks = r.count(20);
    for (int i = 0; i < nMarks && r.ok; ++i) {
        TxMark m;
        m.kind = r.get<qint32>();
        m.name = r.get<QString>();
        m.field = r.get<QTextFormat>().toCharFormat();
        QTextDocument* d = docAt(r.get<qint32>());
        m.at = TxDocument::anchorAt(d, r.get<qint32>());
        m.order = r.get<qint32>();
        m.fieldId = r.get<qint32>();
        if (m.kind < TxMark::BookmarkStart || m.kind > TxMark::EmptyField)
            r.ok = false;
        tx.marks.push_back(std::move(m));
    }
    const int nNotes = s.device()->bytesAvailable() > 0 ? r.count(12) : 0;
    for (int i = 0; i < nNotes && r.ok; ++i) {
        model::Note n;
        n.kind = r.get<qint32>() == 1 ? model::NoteKind::End : model::NoteKind::Foot;
        n.mark = r.get<QString>();
        TxDocument part;
        QString why;
        if (!r.ok || !load(r.get<QByteArray>(), part, &why)) {
            r.ok = false;
            break;
        }
        model::Document text = bridge::fromEngine(part);
        if (!text.sections.empty())
            n.blocks = std::move(text.sections.front().blocks);
        tx.notes.push_back(std::move(n));
    }
    if (!r.ok)
        return fail(QStringLiteral("damaged native document"));
    tx.setCounters(lastId, lastOrder);
    QTextOption opt = tx.body()->defaultTextOption();
    opt.setTabStopDistance(tx.defaultTabStop / 15.0);
    tx.body()->setDefaultTextOption(opt);
    out.swap(tx);
    return true;
}

} // namespace native

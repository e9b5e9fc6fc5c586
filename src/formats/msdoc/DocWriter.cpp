// Assembles a Word 97 document: the WordDocument stream (FIB, text, FKPs,
// section properties), the 1Table stream (style sheet, font table, piece
// table, bin tables, plcs, DOP) and the Data stream.
#include "Bytes.h"
#include "CompoundFile.h"
#include "Document.h"
#include "FieldKinds.h"
#include "FkpWriter.h"
#include "Lists.h"
#include "MsDoc.h"
#include "Sprm.h"
#include "WriterParts.h"

namespace msdoc {

namespace {

using namespace wr;

constexpr quint32 kTextFc = 0x400; // text starts after the FIB
constexpr int kFibSize = 900;
constexpr int kFcLcbCount = 93;

// Indices into FibRgFcLcb97.
enum FcLcb {
    StshfOrig = 0,
    Stshf = 1,
    PlcffndRef = 2,
    PlcffndTxt = 3,
    PlcfSed = 6,
    PlcfHdd = 11,
    PlcfBteChpx = 12,
    PlcfBtePapx = 13,
    SttbfFfn = 15,
    PlcfFldMom = 16,
    PlcfFldHdr = 17,
    PlcfFldFtn = 18,
    SttbfBkmk = 21,
    PlcfBkf = 22,
    PlcfBkl = 23,
    Dop = 31,
    Clx = 33,
    PlcSpaMom = 40,
    DggInfo = 50,
    PlcfendRef = 46,
    PlcfendTxt = 47,
    PlcfFldEdn = 48,
    StwUser = 60,
    PlfLst = 73,
    PlfLfo = 74,
};

struct Placed {
    quint32 fc = 0;
    quint32 lcb = 0;
};

QByteArray dop(int defaultTab) {
    ByteWriter w;
    w.u8(0x02); // widow control
    w.u8(0);
    w.u16(1 << 2); // footnotes numbered from 1
    w.u32(0);
    w.u16(0);
    w.u16(defaultTab);
    w.u16(0);
    w.u16(360); // hyphenation zone
    w.zeros(84 - w.size() - 2);
    w.u16(100 << 3); // 100 % zoom
    w.zeros(400 - w.size());
    // Drawing grid: origin at the usual margins, 9 pt steps.
    w.u16(1701);
    w.u16(1984);
    w.u16(180);
    w.u16(180);
    w.u16(0x80);
    w.zeros(500 - w.size());
    return w.bytes;
}

// A plc of character positions with fixed-size data.
QByteArray plc(const std::vector<int>& cps, const QByteArray& data) {
    ByteWriter w;
    for (int cp : cps)
        w.u32(quint32(cp));
    w.raw(data);
    return w.bytes;
}

QByteArray fieldPlc(const std::vector<FieldMark>& marks, int storyEnd) {
    std::vector<int> cps;
    ByteWriter data;
    for (const FieldMark& m : marks) {
        cps.push_back(m.cp);
        data.u8(m.ch);
        data.u8(m.data);
    }
    cps.push_back(storyEnd + 1);
    return plc(cps, data.bytes);
}

// A document of stories after the main text: the headers and footers, the
// footnotes or the endnotes.
struct HeaderStories {
    QString text;
    std::vector<CharRun> runs;
    std::vector<ParaEnd> paras;
    std::vector<FieldMark> fields;
    std::vector<int> cps; // story boundaries

    // Closes the document with its guard paragraph mark; returns its plc
    // of story starts (empty when there are no stories).
    std::vector<int> finish() {
        if (cps.empty())
            return {};
        std::vector<int> out = cps;
        out.push_back(int(text.size()));
        runs.push_back({int(text.size()), QByteArray()});
        text += QChar(0x0D);
        paras.push_back({int(text.size()), papxFor({}, 0)});
        out.push_back(int(text.size()) + 2);
        return out;
    }
};

void appendStory(HeaderStories& h, const StoryWriter& s) {
    const int base = int(h.text.size());
    h.text += s.text;
    for (const CharRun& r : s.runs)
        h.runs.push_back({r.cp + base, r.chpx});
    for (const ParaEnd& p : s.paras)
        h.paras.push_back({p.cpEnd + base, p.papx});
    for (const FieldMark& f : s.fields)
        h.fields.push_back({f.cp + base, f.ch, f.data});
}

HeaderStories headerStories(const model::Document& doc, WriterContext& ctx) {
    HeaderStories h;
    bool any = false;
    for (const model::Section& s : doc.sections)
        any |= !s.header.empty() || !s.footer.empty() || !s.firstHeader.empty() ||
               !s.firstFooter.empty();
    if (!any)
        return h;
    for (int i = 0; i < 6; ++i)
        h.cps.push_back(0); // footnote and endnote separators: none
    const model::Section* prev = nullptr;
    for (const model::Section& s : doc.sections) {
        const std::vector<model::Block>* stories[6] = {nullptr,   &s.header,      nullptr,
                                                       &s.footer, &s.firstHeader, &s.firstFooter};
        const std::vector<model::Block>* prevStories[6] = {nullptr,
                                                           prev ? &prev->header : nullptr,
                                                           nullptr,
                                                           prev ? &prev->footer : nullptr,
                                                           prev ? &prev->firstHeader : nullptr,
                                                           prev ? &prev->firstFooter : nullptr};
        for (int k = 0; k < 6; ++k) {
            h.cps.push_back(int(h.text.size()));
            if (!stories[k])
                continue;
            StoryWriter w(ctx);
            if (!stories[k]->empty()) {
                w.writeBlocks(*stories[k]);
                w.ensureFinalParagraph();
            } else if (prevStories[k] && !prevStories[k]->empty()) {
                // An empty story would inherit the previous section's: write
                // an empty paragraph to say "none".
                w.ensureFinalParagraph();
            }
            appendStory(h, w);
        }
        prev = &s;
    }
    return h;
}

// One story per note, in the order of their references.
HeaderStories noteStories(const std::vector<NoteMark>& refs, WriterContext& ctx) {
    HeaderStories h;
    for (const NoteMark& m : refs) {
        h.cps.push_back(int(h.text.size()));
        StoryWriter w(ctx);
        w.writeNote(*m.note);
        appendStory(h, w);
    }
    return h;
}

// The references' plc: where each stands and whether it is numbered.
QByteArray noteRefPlc(const std::vector<NoteMark>& refs, int ccpText) {
    std::vector<int> cps;
    ByteWriter data;
    for (const NoteMark& m : refs) {
        cps.push_back(m.cp);
        data.u16(m.note->mark.isEmpty() ? 1 : 0);
    }
    cps.push_back(ccpText + 1);
    return plc(cps, data.bytes);
}

} // namespace

QByteArray write(const model::Document& docIn) {
    model::Document doc = docIn;
    if (doc.sections.empty())
        doc.sections.emplace_back();
    WriterContext ctx;
    for (const model::ListDef& l : doc.lists)
        ctx.listIds.push_back(l.id);

    // Main text, section by section.
    StoryWriter main(ctx, true);
    for (size_t i = 0; i < doc.sections.size(); ++i) {
        const model::Section& s = doc.sections[i];
        main.writeBlocks(s.blocks);
        main.endSection(sepxFor(s), i + 1 == doc.sections.size());
    }
    const int ccpText = int(main.text.size());

    // The other documents follow the main text in this order: footnotes,
    // headers and footers, (annotations,) endnotes.
    HeaderStories hdd = headerStories(doc, ctx);
    HeaderStories ftn = noteStories(main.footnotes, ctx);
    HeaderStories edn = noteStories(main.endnotes, ctx);
    const std::vector<int> hddCps = hdd.finish();
    const std::vector<int> ftnCps = ftn.finish();
    const std::vector<int> ednCps = edn.finish();
    const int ccpHdd = int(hdd.text.size());
    const int ccpFtn = int(ftn.text.size());
    const int ccpEdn = int(edn.text.size());

    // Whole text: main, the other documents, and the final paragraph mark
    // when any story besides the main one has text.
    QString text = main.text;
    std::vector<FcRun> chpRuns, papRuns;
    auto fcOf = [](int cp) { return kTextFc + quint32(cp) * 2; };
    for (const CharRun& r : main.runs)
        chpRuns.push_back({fcOf(r.cp), r.chpx});
    int prevEnd = 0;
    for (const ParaEnd& p : main.paras) {
        papRuns.push_back({fcOf(prevEnd), p.papx});
        prevEnd = p.cpEnd;
    }
    for (const HeaderStories* story : {&ftn, &hdd, &edn}) {
        const int base = int(text.size());
        text += story->text;
        for (const CharRun& r : story->runs)
            chpRuns.push_back({fcOf(r.cp + base), r.chpx});
        for (const ParaEnd& p : story->paras) {
            papRuns.push_back({fcOf(prevEnd), p.papx});
            prevEnd = p.cpEnd + base;
        }
    }
    if (text.size() > ccpText) {
        chpRuns.push_back({fcOf(int(text.size())), QByteArray()});
        text += QChar(0x0D);
        papRuns.push_back({fcOf(prevEnd), papxFor({}, 0)});
        prevEnd = int(text.size());
    }
    // Oversized paragraph properties go to the Data stream.
    for (FcRun& p : papRuns) {
        if (p.props.size() <= 480)
            continue;
        ByteWriter d;
        d.u16(int(p.props.size() - 2));
        d.raw(p.props.mid(2));
        const quint32 at = quint32(ctx.data.size());
        ctx.data += d.bytes;
        ByteWriter huge;
        huge.raw(p.props.left(2));
        huge.u16(sprm::PHugePapx);
        huge.u32(at);
        p.props = huge.bytes;
    }
    // Runs cover the text from its start.
    if (chpRuns.empty() || chpRuns.front().fc != kTextFc)
        chpRuns.insert(chpRuns.begin(), {kTextFc, QByteArray()});

    // WordDocument stream.
    ByteWriter wd;
    wd.zeros(kTextFc);
    for (QChar c : text)
        wd.u16(c.unicode());
    const quint32 textEnd = quint32(wd.size());
    wd.align(512);
    const FkpResult chp = chpxFkps(chpRuns, textEnd, quint32(wd.size() / 512));
    wd.raw(chp.pages);
    const FkpResult pap = papxFkps(papRuns, textEnd, quint32(wd.size() / 512));
    wd.raw(pap.pages);
    std::vector<quint32> sepxFcs;
    for (const SectionEnd& s : main.sections) {
        wd.align(2);
        sepxFcs.push_back(quint32(wd.size()));
        wd.u16(int(s.sepx.size()));
        wd.raw(s.sepx);
    }
    if (!ctx.drawing.empty()) {
        wd.align(2);
        wd.raw(ctx.drawing.blips(quint32(wd.size())));
    }
    const quint32 cbMac = quint32(wd.size());

    // 1Table stream.
    ByteWriter tb;
    Placed fcLcb[kFcLcbCount];
    auto place = [&](int index, const QByteArray& bytes) {
        if (bytes.isEmpty())
            return;
        tb.align(2);
        fcLcb[index] = {quint32(tb.size()), quint32(bytes.size())};
        tb.raw(bytes);
    };
    {
        std::vector<int> cps;
        ByteWriter seds;
        cps.push_back(0);
        for (size_t i = 0; i < main.sections.size(); ++i) {
            cps.push_back(main.sections[i].cpEnd);
            seds.u16(0);
            seds.u32(sepxFcs[i]);
            seds.u16(0);
            seds.u32(0xFFFFFFFF);
        }
        const QByteArray stsh = ctx.styles.stsh(ctx.fonts);
        place(Stshf, stsh);
        fcLcb[StshfOrig] = fcLcb[Stshf];
        place(PlcfSed, plc(cps, seds.bytes));
    }
    if (!hddCps.empty())
        place(PlcfHdd, plc(hddCps, {}));
    if (!ftnCps.empty()) {
        place(PlcffndRef, noteRefPlc(main.footnotes, ccpText));
        place(PlcffndTxt, plc(ftnCps, {}));
    }
    if (!ednCps.empty()) {
        place(PlcfendRef, noteRefPlc(main.endnotes, ccpText));
        place(PlcfendTxt, plc(ednCps, {}));
    }
    place(PlcfBteChpx, chp.binTable);
    place(PlcfBtePapx, pap.binTable);
    if (!main.fields.empty())
        place(PlcfFldMom, fieldPlc(main.fields, ccpText));
    if (!hdd.fields.empty())
        place(PlcfFldHdr, fieldPlc(hdd.fields, ccpHdd));
    if (!ftn.fields.empty())
        place(PlcfFldFtn, fieldPlc(ftn.fields, ccpFtn));
    if (!edn.fields.empty())
        place(PlcfFldEdn, fieldPlc(edn.fields, ccpEdn));
    {
        // Bookmarks: names, starts (with the index of their end) and ends.
        struct Bk {
            QString name;
            int start = -1, end = -1;
        };
        std::vector<Bk> bks;
        for (const BookmarkMark& m : main.bookmarks) {
            auto it = std::find_if(bks.begin(), bks.end(), [&](const Bk& b) {
                return b.name == m.name && (m.start ? b.start < 0 : b.end < 0);
            });
            if (it == bks.end()) {
                bks.push_back({m.name, -1, -1});
                it = bks.end() - 1;
            }
            (m.start ? it->start : it->end) = m.cp;
        }
        std::erase_if(bks, [](const Bk& b) { return b.start < 0 || b.end < b.start; });
        std::stable_sort(bks.begin(), bks.end(),
                         [](const Bk& a, const Bk& b) { return a.start < b.start; });
        if (!bks.empty()) {
            std::vector<int> endOrder(bks.size());
            for (size_t i = 0; i < bks.size(); ++i)
                endOrder[i] = int(i);
            std::stable_sort(endOrder.begin(), endOrder.end(),
                             [&](int a, int b) { return bks[size_t(a)].end < bks[size_t(b)].end; });
            std::vector<int> endIndex(bks.size());
            for (size_t k = 0; k < endOrder.size(); ++k)
                endIndex[size_t(endOrder[k])] = int(k);
            ByteWriter names;
            names.u16(0xFFFF);
            names.u16(int(bks.size()));
            names.u16(0);
            std::vector<int> startCps, endCps;
            ByteWriter bkf;
            for (size_t i = 0; i < bks.size(); ++i) {
                const QString n = bks[i].name.left(40);
                names.u16(int(n.size()));
                names.utf16(n);
                startCps.push_back(bks[i].start);
                bkf.u16(endIndex[i]);
                bkf.u16(0);
            }
            for (int k : endOrder)
                endCps.push_back(bks[size_t(k)].end);
            startCps.push_back(ccpText + 1);
            endCps.push_back(ccpText + 1);
            place(SttbfBkmk, names.bytes);
            place(PlcfBkf, plc(startCps, bkf.bytes));
            place(PlcfBkl, plc(endCps, {}));
        }
    }
    if (!doc.lists.empty()) {
        // The levels follow the list definitions, outside their byte count.
        const ListTables lists = writeLists(doc.lists);
        place(PlfLst, lists.plfLst);
        fcLcb[PlfLst].lcb = quint32(2 + 28 * doc.lists.size());
        place(PlfLfo, lists.plfLfo);
    }
    place(SttbfFfn, ctx.fonts.sttbfFfn());
    if (!ctx.drawing.empty()) {
        place(PlcSpaMom, ctx.drawing.plcSpa(ccpText + 1));
        place(DggInfo, ctx.drawing.content());
    }
    place(Dop, dop(doc.defaultTabStop));
    {
        // Piece table: the whole text is one Unicode piece.
        ByteWriter clx;
        clx.u8(0x02);
        clx.u32(4 * 2 + 8);
        clx.u32(0);
        clx.u32(quint32(text.size()));
        clx.u16(0);
        clx.u32(kTextFc);
        clx.u16(0);
        place(Clx, clx.bytes);
    }

    // FIB.
    ByteWriter fib;
    fib.u16(0xA5EC);
    fib.u16(0x00C1);
    fib.u16(0);
    fib.u16(0x0411); // created with a Japanese installation
    fib.u16(0);
    // fWhichTblStm (1Table), fExtChar, fFarEast; fHasPic when pictures.
    fib.u16((1 << 9) | (1 << 12) | (1 << 14) | (ctx.hasPictures ? (1 << 3) : 0));
    fib.u16(0x00BF);
    fib.u32(0);
    fib.u8(0);
    fib.u8(0);
    fib.zeros(4);
    // Where the text starts and ends, for readers of the older layout.
    fib.u32(kTextFc);
    fib.u32(textEnd);
    fib.u16(14); // csw
    fib.zeros(26);
    fib.u16(0x0411); // lidFE
    fib.u16(22);     // cslw
    quint32 lw[22] = {};
    lw[0] = cbMac;
    lw[3] = quint32(ccpText);
    lw[4] = quint32(ccpFtn);
    lw[5] = quint32(ccpHdd);
    lw[8] = quint32(ccpEdn);
    for (quint32 v : lw)
        fib.u32(v);
    fib.u16(kFcLcbCount);
    for (const Placed& p : fcLcb) {
        fib.u32(p.lcb ? p.fc : 0);
        fib.u32(p.lcb);
    }
    fib.u16(0); // cswNew
    Q_ASSERT(fib.size() == kFibSize);
    wd.bytes.replace(0, fib.size(), fib.bytes);

    // Keep the main stream out of the compound file's mini stream, where some
    // readers do not look for it.
    if (wd.size() < 4096)
        wd.zeros(4096 - wd.size());
    cfb::Writer out;
    out.addStream(QStringLiteral("WordDocument"), wd.bytes);
    out.addStream(QStringLiteral("1Table"), tb.bytes);
    if (!ctx.data.isEmpty())
        out.addStream(QStringLiteral("Data"), ctx.data);
    if (!ctx.fieldKinds.empty())
        out.addStream(QLatin1String(kFieldKindStream), fieldKindStream(ctx.fieldKinds));
    return out.toBytes();
}

} // namespace msdoc

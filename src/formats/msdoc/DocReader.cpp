// Reads a Word 97-2003 document into the model: sections with their page
// setup, the main text, headers and footers, bookmarks.
#include "Bytes.h"
#include "DocFile.h"
#include "FieldKinds.h"
#include "Lists.h"
#include "MsDoc.h"
#include "Notes.h"
#include "OfficeArt.h"
#include "Sprm.h"
#include "StoryReader.h"

#include <unordered_map>

namespace msdoc {

namespace {

using namespace rd;

constexpr int kPlcffndRef = 2;
constexpr int kPlcffndTxt = 3;
constexpr int kPlcfendRef = 46;
constexpr int kPlcfendTxt = 47;
constexpr int kPlcfSed = 6;
constexpr int kPlcfHdd = 11;
constexpr int kSttbfBkmk = 21;
constexpr int kPlcfBkf = 22;
constexpr int kPlcfBkl = 23;
constexpr int kPlcSpaMom = 40;
constexpr int kPlcftxbxTxt = 56;
constexpr int kDggInfo = 50;
constexpr int kPlfLst = 73;
constexpr int kPlfLfo = 74;
constexpr int kMaxCoordinate = 1 << 24; // twips

// CPs of a plc with `dataSize` bytes per element; empty when malformed.
std::vector<int> plcCps(const QByteArray& plc, int dataSize, int* count) {
    *count = 0;
    if (plc.size() < 4 || (plc.size() - 4) % (4 + dataSize))
        return {};
    const int n = int((plc.size() - 4) / (4 + dataSize));
    const ByteReader r(plc);
    std::vector<int> cps;
    for (int i = 0; i <= n; ++i)
        cps.push_back(r.i32(i * 4));
    *count = n;
    return cps;
}

// Word's section defaults (US Letter, 1.25" side margins).
model::Section defaultSection() {
    model::Section s;
    s.page.width = 12240;
    s.page.height = 15840;
    s.page.marginLeft = s.page.marginRight = 1800;
    s.page.marginTop = s.page.marginBottom = 1440;
    s.page.headerDistance = s.page.footerDistance = 720;
    return s;
}

// A shape's width or height from two of its edges.
int extent(int from, int to) {
    return std::max(0, to - from);
}

struct SectionInfo {
    int cpEnd;
    model::Section props;
};

std::vector<SectionInfo> readSections(DocFile& f) {
    std::vector<SectionInfo> out;
    int n = 0;
    const std::vector<int> cps = plcCps(f.tableSlice(kPlcfSed), 12, &n);
    const ByteReader sed(f.tableSlice(kPlcfSed));
    const ByteReader wd(f.wordDocument);
    int last = 0;
    for (int i = 0; i < n; ++i) {
        Sep sep;
        sep.section = defaultSection();
        const quint32 fcSepx = sed.u32((n + 1) * 4 + i * 12 + 2);
        if (fcSepx != 0xFFFFFFFF && wd.has(fcSepx, 2)) {
            const int cb = wd.i16(fcSepx);
            if (cb > 0)
                applySep(sep, wd.mid(fcSepx + 2, cb));
        }
        const int end = std::clamp(cps[size_t(i) + 1], last, f.ccpText);
        if (end <= last && i + 1 < n)
            continue;
        // Each section is kept here and in the model.
        if (!f.budget.spend(qint64(sizeof(SectionInfo) + sizeof(model::Section))))
            break;
        out.push_back({end, sep.section});
        last = end;
    }
    if (out.empty())
        out.push_back({f.ccpText, defaultSection()});
    out.back().cpEnd = f.ccpText;
    return out;
}

void readBookmarks(DocFile& f, StoryReader& story) {
    const QByteArray names = f.tableSlice(kSttbfBkmk);
    const ByteReader r(names);
    if (names.size() < 6 || r.u16(0) != 0xFFFF)
        return;
    const int count = r.u16(2);
    const int cbExtra = r.u16(4);
    QStringList list;
    qint64 pos = 6;
    for (int i = 0; i < count && r.has(pos, 2); ++i) {
        const int cch = r.u16(pos);
        QString s;
        for (int k = 0; k < cch && r.has(pos + 2 + k * 2, 2); ++k)
            s += QChar(r.u16(pos + 2 + k * 2));
        list << s;
        pos += 2 + cch * 2 + cbExtra;
    }
    int nf = 0, nl = 0;
    const QByteArray bkfBytes = f.tableSlice(kPlcfBkf);
    const std::vector<int> starts = plcCps(bkfBytes, 4, &nf);
    const std::vector<int> ends = plcCps(f.tableSlice(kPlcfBkl), 0, &nl);
    const ByteReader bkf(bkfBytes);
    for (int i = 0; i < nf && i < list.size(); ++i) {
        const int ibkl = bkf.u16((nf + 1) * 4 + i * 4);
        if (ibkl >= nl)
            continue;
        story.bookmarks.insert(starts[size_t(i)], {list[i], true});
        story.bookmarks.insert(ends[size_t(ibkl)], {list[i], false});
    }
}

// Pictures of the document: inline ones from the Data stream.
// Text boxes: shapes anchored in the main text (PlcSpaMom) whose text is a
// story of the text box document (PlcftxbxTxt), matched by shape id.
class Objects : public ObjectReader {
public:
    explicit Objects(DocFile& f) : f(f) {
        int n = 0;
        const QByteArray spa = f.tableSlice(kPlcSpaMom);
        spaCps = plcCps(spa, 26, &n);
        const ByteReader r(spa);
        for (int i = 0; i < n; ++i) {
            const qint64 at = qint64(n + 1) * 4 + i * 26;
            Spa s;
            s.cp = spaCps[size_t(i)];
            s.spid = r.u32(at);
            // Corners within a few metres, so sizes and the writer's sums fit.
            s.left = std::clamp(r.i32(at + 4), -kMaxCoordinate, kMaxCoordinate);
            s.top = std::clamp(r.i32(at + 8), -kMaxCoordinate, kMaxCoordinate);
            s.right = std::clamp(r.i32(at + 12), -kMaxCoordinate, kMaxCoordinate);
            s.bottom = std::clamp(r.i32(at + 16), -kMaxCoordinate, kMaxCoordinate);
            s.flags = r.u16(at + 20);
            shapeAt.try_emplace(s.cp, shapes.size());
            shapes.push_back(s);
        }
        const QByteArray txbx = f.tableSlice(kPlcftxbxTxt);
        int m = 0;
        txbxCps = plcCps(txbx, 22, &m);
        const ByteReader t(txbx);
        for (int i = 0; i + 1 < m; ++i) // the last story is a dummy
            txbxAt.try_emplace(t.u32(qint64(m + 1) * 4 + i * 22 + 14), size_t(i));
        f.budget.spend(qint64(n) * qint64(sizeof(Spa)) + qint64(m) * 32);
        const DrawingPictures drawing =
            readDrawing(f.tableSlice(kDggInfo), f.wordDocument, f.budget);
        for (const auto& [spid, picture] : drawing.bySpid)
            pictureAt.try_emplace(spid, picture);
    }
    bool inlinePicture(qint64 location, model::Picture& out) override {
        // Many characters may name the same picture: each copy counts.
        return readInlinePicture(f.data, location, f.wordDocument, out) &&
               f.budget.spend(out.data.size());
    }
    bool floatingObject(int cp, model::Inline& picture, model::Frame& box,
                        bool& isTextBox) override {
        if (depth > 2)
            return false;
        const auto shape = shapeAt.find(cp);
        if (shape == shapeAt.end())
            return false;
        const Spa* it = &shapes[shape->second];
        const auto id = txbxAt.find(it->spid);
        if (id == txbxAt.end())
            return floatingPicture(*it, picture);
        const size_t k = id->second;
        const int base = f.ccpText + f.ccpFtn + f.ccpHdd + f.ccpAtn + f.ccpEdn;
        const int a = std::clamp(txbxCps[k], 0, f.ccpTxbx),
                  b = std::clamp(txbxCps[k + 1], a, f.ccpTxbx);
        ++depth;
        StoryReader story(f, this);
        const ParaRecs recs = story.paragraphs(base + a, base + b, {});
        box = model::Frame();
        box.blocks = story.blocks(recs, 0, recs.size());
        --depth;
        const int bx = (it->flags >> 1) & 3, by = (it->flags >> 3) & 3;
        box.horizontalRelation = bx == 0   ? model::HorizontalRelation::Margin
                                 : bx == 1 ? model::HorizontalRelation::Page
                                           : model::HorizontalRelation::Column;
        box.verticalRelation = by == 0   ? model::VerticalRelation::Margin
                               : by == 1 ? model::VerticalRelation::Page
                                         : model::VerticalRelation::Paragraph;
        box.x = it->left;
        box.y = it->top;
        box.width = extent(it->left, it->right);
        box.height = extent(it->top, it->bottom);
        box.wrapAround = ((it->flags >> 5) & 0xF) != 1;
        isTextBox = true;
        return true;
    }

private:
    struct Spa {
        int cp;
        quint32 spid;
        int left, top, right, bottom, flags;
    };

    bool floatingPicture(const Spa& s, model::Inline& out) {
        const auto pic = pictureAt.find(s.spid);
        if (pic == pictureAt.end())
            return false;
        model::Picture p = pic->second;
        p.x = s.left;
        p.y = s.top;
        p.width = extent(s.left, s.right);
        p.height = extent(s.top, s.bottom);
        p.scaleX = p.scaleY = 100;
        const int bx = (s.flags >> 1) & 3, by = (s.flags >> 3) & 3;
        const int wr = (s.flags >> 5) & 0xF, wrk = (s.flags >> 9) & 0xF;
        p.horizontalRelation = bx == 0   ? model::HorizontalRelation::Margin
                               : bx == 1 ? model::HorizontalRelation::Page
                                         : model::HorizontalRelation::Column;
        p.verticalRelation = by == 0   ? model::VerticalRelation::Margin
                             : by == 1 ? model::VerticalRelation::Page
                                       : model::VerticalRelation::Paragraph;
        p.wrap = wr == 1    ? model::Wrap::TopBottom
                 : wr == 3  ? model::Wrap::Free
                 : wrk == 1 ? model::Wrap::Left
                 : wrk == 2 ? model::Wrap::Right
                            : model::Wrap::Around;
        p.behindText = (s.flags & 0x4000) != 0;
        out = model::Inline::makePicture(p);
        return true;
    }
    DocFile& f;
    std::vector<Spa> shapes;
    std::vector<int> spaCps, txbxCps;
    std::unordered_map<int, size_t> shapeAt;               // anchor cp -> first shape there
    std::unordered_map<quint32, size_t> txbxAt;            // shape id -> its text box story
    std::unordered_map<quint32, model::Picture> pictureAt; // shape id -> picture
    int depth = 0;
};

// Drops the empty paragraph a writer must put after a table that ends a
// section or the document.
void dropTrailingEmpty(std::vector<model::Block>& blocks) {
    if (blocks.size() >= 2 && blocks.back().kind == model::Block::Kind::Paragraph &&
        blocks.back().paragraph.content.empty() &&
        blocks[blocks.size() - 2].kind == model::Block::Kind::Table)
        blocks.pop_back();
}

// Footnote and endnote references of the main text, and the reader of the
// notes' stories (the footnote document follows the main text, the endnote
// document the annotations).
class Notes {
public:
    explicit Notes(DocFile& f) : f(f) {
        load(model::NoteKind::Foot, kPlcffndRef, kPlcffndTxt, f.ccpText, f.ccpFtn, foot);
        load(model::NoteKind::End, kPlcfendRef, kPlcfendTxt,
             f.ccpText + f.ccpFtn + f.ccpHdd + f.ccpAtn, f.ccpEdn, end);
    }
    void attach(StoryReader& story, ObjectReader* objects) {
        this->objects = objects;
        story.noteRefs = refs;
        story.noteText = [this](const NoteRef& r, const QString& mark) { return text(r, mark); };
    }

private:
    struct Stories {
        int base = 0;
        std::vector<int> starts; // n + 1 bounds within the note document
    };

    void load(model::NoteKind kind, int refIndex, int txtIndex, int base, int ccp, Stories& out) {
        int n = 0, m = 0;
        const QByteArray refPlc = f.tableSlice(refIndex);
        const std::vector<int> cps = plcCps(refPlc, 2, &n);
        const std::vector<int> txt = plcCps(f.tableSlice(txtIndex), 0, &m);
        if (ccp <= 0 || n <= 0 || m < n + 1)
            return;
        out.base = base;
        for (int i = 0; i <= n; ++i)
            out.starts.push_back(std::clamp(txt[size_t(i)], i ? out.starts.back() : 0, ccp));
        const ByteReader r(refPlc);
        f.budget.spend(qint64(n) * qint64(sizeof(NoteRef) + 2 * sizeof(int)));
        for (int i = 0; i < n; ++i) {
            const int cp = cps[size_t(i)];
            if (cp < 0 || cp >= f.ccpText)
                continue;
            refs.try_emplace(cp, NoteRef{kind, i, r.i16((n + 1) * 4 + i * 2) == 0});
        }
    }

    std::vector<model::Block> text(const NoteRef& ref, const QString& mark) {
        const Stories& s = ref.kind == model::NoteKind::Foot ? foot : end;
        if (size_t(ref.index) + 1 >= s.starts.size() || reading)
            return {};
        reading = true;
        StoryReader story(f, objects);
        const ParaRecs recs = story.paragraphs(s.base + s.starts[size_t(ref.index)],
                                               s.base + s.starts[size_t(ref.index) + 1], {});
        std::vector<model::Block> blocks = story.blocks(recs, 0, recs.size());
        reading = false;
        if (!story.guardAtEnd)
            dropTrailingEmpty(blocks);
        model::dropLeadingMark(blocks, mark);
        return blocks;
    }

    DocFile& f;
    ObjectReader* objects = nullptr;
    Stories foot, end;
    std::map<int, NoteRef> refs;
    bool reading = false; // a note's story never reads another note
};

void readHeaders(DocFile& f, StoryReader& story, model::Document& doc) {
    int n = 0;
    const std::vector<int> cps = plcCps(f.tableSlice(kPlcfHdd), 0, &n);
    if (f.ccpHdd <= 0 || n < 6)
        return;
    const int base = f.ccpText + f.ccpFtn;
    // Per section: even header, odd header, even footer, odd footer, first
    // header, first footer. An empty story continues the previous section's.
    std::vector<model::Block>* targets[6];
    const std::vector<model::Block>* prev[6] = {};
    // What reading each previous story cost: a section that repeats it makes
    // a copy as large.
    qint64 prevCost[6] = {};
    auto inherit = [&](int k) {
        if (prev[k] && f.budget.spend(prevCost[k]))
            *targets[k] = *prev[k];
    };
    for (size_t s = 0; s < doc.sections.size(); ++s) {
        model::Section& sec = doc.sections[s];
        std::vector<model::Block>* t[6] = {nullptr,     &sec.header,      nullptr,
                                           &sec.footer, &sec.firstHeader, &sec.firstFooter};
        std::copy(t, t + 6, targets);
        for (int k = 0; k < 6; ++k) {
            if (!targets[k])
                continue;
            const int idx = 6 + int(s) * 6 + k;
            if (idx + 1 > n) {
                inherit(k);
                prev[k] = targets[k];
                continue;
            }
            const int a = std::clamp(cps[size_t(idx)], 0, f.ccpHdd);
            const int b = std::clamp(cps[size_t(idx) + 1], a, f.ccpHdd);
            if (a == b) {
                inherit(k);
            } else {
                const qint64 before = f.budget.spent();
                const ParaRecs recs = story.paragraphs(base + a, base + b, {});
                std::vector<model::Block> blocks = story.blocks(recs, 0, recs.size());
                if (!story.guardAtEnd)
                    dropTrailingEmpty(blocks);
                // A story of one empty paragraph says "none".
                if (blocks.size() == 1 && blocks[0].kind == model::Block::Kind::Paragraph &&
                    blocks[0].paragraph.content.empty())
                    blocks.clear();
                *targets[k] = std::move(blocks);
                prevCost[k] = f.budget.spent() - before;
            }
            prev[k] = targets[k];
        }
    }
}

} // namespace

std::optional<model::Document> read(const QByteArray& bytes, QString* error) {
    std::optional<DocFile> file = DocFile::open(bytes, error);
    if (!file)
        return std::nullopt;
    DocFile& f = *file;
    model::Document doc;
    Objects objects(f);
    StoryReader story(f, &objects);
    const auto [fcLst, lcbLst] = f.fcLcb(kPlfLst);
    const auto [fcLfo, lcbLfo] = f.fcLcb(kPlfLfo);
    const std::vector<ReadList> lists = readLists(f.table, fcLst, lcbLst, fcLfo, lcbLfo, f.budget);
    for (const ReadList& l : lists)
        doc.lists.push_back(l.def);
    story.lists = &lists;
    readBookmarks(f, story);
    Notes notes(f);
    notes.attach(story, &objects);

    const std::vector<SectionInfo> sections = readSections(f);
    std::vector<int> sectionEnds;
    for (const SectionInfo& s : sections)
        sectionEnds.push_back(s.cpEnd);
    const ParaRecs recs = story.paragraphs(0, f.ccpText, sectionEnds);
    size_t i = 0;
    for (const SectionInfo& s : sections) {
        size_t j = i;
        while (j < recs.size() && recs[j].cpEnd <= s.cpEnd)
            ++j;
        model::Section sec = s.props;
        sec.blocks = story.blocks(recs, i, j);
        if (!story.guardAtEnd)
            dropTrailingEmpty(sec.blocks);
        doc.sections.push_back(std::move(sec));
        i = j;
    }
    if (i < recs.size()) {
        std::vector<model::Block> rest = story.blocks(recs, i, recs.size());
        auto& blocks = doc.sections.back().blocks;
        blocks.insert(blocks.end(), rest.begin(), rest.end());
    }
    readHeaders(f, story, doc);
    if (f.budget.exhausted()) {
        if (error)
            *error = QStringLiteral("damaged document: it describes more content than its %1 bytes "
                                    "can hold")
                         .arg(bytes.size());
        return std::nullopt;
    }
    applyFieldKinds(doc, f.fieldKinds);
    // The default tab stop from the document properties.
    const ByteReader dop(f.tableSlice(31));
    if (dop.size() >= 12)
        doc.defaultTabStop = dop.u16(10);
    return doc;
}

} // namespace msdoc

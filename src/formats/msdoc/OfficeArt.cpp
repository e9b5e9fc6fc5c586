#include "OfficeArt.h"

#include "Bytes.h"

#include <QCryptographicHash>

namespace msdoc {

namespace {

constexpr int kPicfSize = 0x44;

struct BlipKind {
    int fbseType;    // msoblip* in the FBSE
    int recType;     // OfficeArtBlip* record type
    int recInstance; // instance for a single UID
    bool metafile;
};

bool blipKind(model::ImageType t, BlipKind& k) {
    switch (t) {
    case model::ImageType::Emf:
        k = {2, 0xF01A, 0x3D4, true};
        return true;
    case model::ImageType::Wmf:
        k = {3, 0xF01B, 0x216, true};
        return true;
    case model::ImageType::Jpeg:
        k = {5, 0xF01D, 0x46A, false};
        return true;
    case model::ImageType::Png:
        k = {6, 0xF01E, 0x6E0, false};
        return true;
    case model::ImageType::Bmp:
        k = {7, 0xF01F, 0x7A8, false};
        return true;
    case model::ImageType::Tiff:
        k = {17, 0xF029, 0x6E4, false};
        return true;
    default:
        return false;
    }
}

void header(ByteWriter& w, int ver, int instance, int type, quint32 len) {
    w.u16((ver & 0xF) | (instance << 4));
    w.u16(type);
    w.u32(len);
}

} // namespace

model::ImageType sniffImageType(const QByteArray& b) {
    if (b.startsWith("\x89PNG"))
        return model::ImageType::Png;
    if (b.startsWith("\xFF\xD8"))
        return model::ImageType::Jpeg;
    if (b.startsWith("BM"))
        return model::ImageType::Bmp;
    if (b.startsWith("GIF8"))
        return model::ImageType::Gif;
    if (b.startsWith("II*") || b.startsWith("MM\0*"))
        return model::ImageType::Tiff;
    if (b.size() > 44 && b.mid(40, 4) == " EMF")
        return model::ImageType::Emf;
    if (b.startsWith("\xD7\xCD\xC6\x9A") || b.startsWith(QByteArray("\x01\x00\x09\x00", 4)) ||
        b.startsWith(QByteArray("\x02\x00\x09\x00", 4)))
        return model::ImageType::Wmf;
    return model::ImageType::Unknown;
}

QByteArray inlinePictureRecord(const model::Picture& pic) {
    model::ImageType type =
        pic.type == model::ImageType::Unknown ? sniffImageType(pic.data) : pic.type;
    BlipKind kind;
    if (pic.data.isEmpty() || !blipKind(type, kind))
        return {};
    QByteArray payload = pic.data;
    if (type == model::ImageType::Bmp && payload.size() > 14)
        payload = payload.mid(14); // the BLIP holds the DIB without the file header
    const QByteArray uid = QCryptographicHash::hash(pic.data, QCryptographicHash::Md5);

    ByteWriter blip;
    if (kind.metafile) {
        // Metafile header: size, bounds and size in EMUs, stored uncompressed.
        const int emuW = pic.width * 635, emuH = pic.height * 635;
        header(blip, 0, kind.recInstance, kind.recType, quint32(50 + payload.size()));
        blip.raw(uid);
        blip.u32(quint32(payload.size()));
        blip.u32(0);
        blip.u32(0);
        blip.u32(quint32(pic.width * 635 / 360)); // bounds in 1/1000 inch approximately
        blip.u32(quint32(pic.height * 635 / 360));
        blip.u32(quint32(emuW));
        blip.u32(quint32(emuH));
        blip.u32(quint32(payload.size()));
        blip.u8(0xFE);
        blip.u8(0xFE);
    } else {
        header(blip, 0, kind.recInstance, kind.recType, quint32(17 + payload.size()));
        blip.raw(uid);
        blip.u8(0xFF);
    }
    blip.raw(payload);

    ByteWriter fbse;
    header(fbse, 2, kind.fbseType, 0xF007, quint32(36 + blip.size()));
    fbse.u8(kind.fbseType);
    fbse.u8(kind.fbseType);
    fbse.raw(uid);
    fbse.u16(0xFF);
    fbse.u32(quint32(blip.size()));
    fbse.u32(1); // one reference
    fbse.u32(0);
    fbse.u8(0);
    fbse.u8(0);
    fbse.u8(0);
    fbse.u8(0);
    fbse.raw(blip.bytes);

    // The inline shape: a picture frame whose picture is BLIP 1.
    ByteWriter sp;
    header(sp, 2, 75, 0xF00A, 8);
    sp.u32(1025);
    sp.u32(0x0A00); // has an anchor, has a shape type
    header(sp, 3, 1, 0xF00B, 6);
    sp.u16(0x4104); // pib, a BLIP id
    sp.u32(1);
    ByteWriter shape;
    header(shape, 0xF, 0, 0xF004, quint32(sp.size()));
    shape.raw(sp.bytes);

    ByteWriter w;
    const quint32 lcb = quint32(kPicfSize + shape.size() + fbse.size());
    w.u32(lcb);
    w.u16(kPicfSize);
    w.u16(0x64); // MM_SHAPE: OfficeArt data follows
    w.u16(0);
    w.u16(0);
    w.u16(0);
    w.zeros(14);
    w.u16(std::clamp(pic.width, 1, 0x7FFF));
    w.u16(std::clamp(pic.height, 1, 0x7FFF));
    w.u16(std::clamp(pic.scaleX * 10, 1, 0xFFFF));
    w.u16(std::clamp(pic.scaleY * 10, 1, 0xFFFF));
    w.zeros(8); // no cropping
    w.u8(0);
    w.u8(0);
    w.zeros(16); // no borders
    w.u16(0);
    w.u16(0);
    w.u16(0); // cProps
    w.raw(shape.bytes);
    w.raw(fbse.bytes);
    return w.bytes;
}

namespace {

// Finds the first BLIP among the records of [pos, end) (descending into
// containers and FBSEs) and takes its bytes.
bool findBlip(const ByteReader& r, qint64 pos, qint64 end, const QByteArray& delay,
              model::Picture& out, int depth) {
    while (pos + 8 <= end && depth < 8) {
        const int verInst = r.u16(pos);
        const int type = r.u16(pos + 2);
        const qint64 len = r.u32(pos + 4);
        const qint64 body = pos + 8;
        if (len > end - body)
            return false;
        if ((verInst & 0xF) == 0xF) {
            if (findBlip(r, body, body + len, delay, out, depth + 1))
                return true;
        } else if (type == 0xF007) {
            if (len > 36 && findBlip(r, body + 36, body + len, delay, out, depth + 1))
                return true;
            // The BLIP may be stored apart, in the WordDocument stream.
            const quint32 size = r.u32(body + 20), foDelay = r.u32(body + 28);
            const ByteReader d(delay);
            if (size > 8 && d.has(foDelay, size) &&
                findBlip(d, foDelay, qint64(foDelay) + size, QByteArray(), out, depth + 1))
                return true;
        } else if (type >= 0xF018 && type <= 0xF117) {
            const int inst = verInst >> 4;
            const bool twoUids =
                (type == 0xF01A && inst == 0x3D5) || (type == 0xF01B && inst == 0x217) ||
                (type == 0xF01C && inst == 0x543) ||
                (type == 0xF01D && (inst == 0x46B || inst == 0x6E3)) ||
                (type == 0xF01E && inst == 0x6E1) || (type == 0xF01F && inst == 0x7A9) ||
                (type == 0xF029 && inst == 0x6E5) || (type == 0xF02A && inst == 0x6E3);
            qint64 skip = 16 + (twoUids ? 16 : 0);
            switch (type) {
            case 0xF01A:
                out.type = model::ImageType::Emf;
                skip += 34;
                break;
            case 0xF01B:
                out.type = model::ImageType::Wmf;
                skip += 34;
                break;
            case 0xF01D:
            case 0xF02A:
                out.type = model::ImageType::Jpeg;
                skip += 1;
                break;
            case 0xF01E:
                out.type = model::ImageType::Png;
                skip += 1;
                break;
            case 0xF01F:
                out.type = model::ImageType::Bmp;
                skip += 1;
                break;
            case 0xF029:
                out.type = model::ImageType::Tiff;
                skip += 1;
                break;
            default:
                pos = body + len;
                continue;
            }
            if (skip > len)
                return false;
            out.data = r.mid(body + skip, len - skip);
            if (out.type == model::ImageType::Bmp && out.data.size() >= 40) {
                // Give the DIB its file header back.
                ByteWriter h;
                h.raw("BM");
                h.u32(quint32(14 + out.data.size()));
                h.u32(0);
                const ByteReader dib(out.data);
                const qint64 headerSize = dib.u32(0);
                const int bpp = dib.u16(14);
                qint64 colors = dib.u32(32);
                if (!colors && bpp <= 8)
                    colors = qint64(1) << bpp;
                // The header and the colour table must lie within the DIB.
                const qint64 bits = headerSize + colors * 4;
                if (headerSize < 12 || bits > out.data.size()) {
                    out.data.clear();
                    return false;
                }
                h.u32(quint32(14 + bits));
                out.data.prepend(h.bytes);
            }
            return !out.data.isEmpty();
        }
        pos = body + len;
    }
    return false;
}

} // namespace

bool readInlinePicture(const QByteArray& data, qint64 offset, const QByteArray& delay,
                       model::Picture& out) {
    const ByteReader r(data);
    const qint64 lcb = r.u32(offset);
    const int cbHeader = r.u16(offset + 4);
    if (r.failed() || cbHeader < kPicfSize || lcb < cbHeader || !r.has(offset, lcb))
        return false;
    const int mm = r.u16(offset + 6);
    out.width = r.i16(offset + 28);
    out.height = r.i16(offset + 30);
    out.scaleX = (r.u16(offset + 32) + 5) / 10;
    out.scaleY = (r.u16(offset + 34) + 5) / 10;
    if (out.scaleX <= 0)
        out.scaleX = 100;
    if (out.scaleY <= 0)
        out.scaleY = 100;
    qint64 pos = offset + cbHeader;
    if (mm == 0x66)
        pos += 1 + r.u8(pos); // the picture's file name
    if (mm != 0x64 && mm != 0x66)
        return false;
    return findBlip(r, pos, offset + lcb, delay, out, 0);
}

} // namespace msdoc

namespace msdoc {

namespace {

constexpr quint32 kFirstSpid = 0x401; // drawing 1: shape ids from 1024

// A BLIP record with its FBSE type; false when the type cannot be stored.
bool blipRecord(const model::Picture& pic, QByteArray& out, int& fbseType, QByteArray& uid) {
    const model::ImageType type =
        pic.type == model::ImageType::Unknown ? sniffImageType(pic.data) : pic.type;
    BlipKind kind;
    if (pic.data.isEmpty() || !blipKind(type, kind) || kind.metafile)
        return false;
    QByteArray payload = pic.data;
    if (type == model::ImageType::Bmp && payload.size() > 14)
        payload = payload.mid(14);
    uid = QCryptographicHash::hash(pic.data, QCryptographicHash::Md5);
    ByteWriter blip;
    header(blip, 0, kind.recInstance, kind.recType, quint32(17 + payload.size()));
    blip.raw(uid);
    blip.u8(0xFF);
    blip.raw(payload);
    out = blip.bytes;
    fbseType = kind.fbseType;
    return true;
}

} // namespace

bool DrawingWriter::add(const model::Picture& picture, int cp) {
    Shape s;
    s.picture = picture;
    s.cp = cp;
    s.spid = kFirstSpid + quint32(shapes.size());
    QByteArray uid;
    if (!blipRecord(picture, s.blip, s.blipType, uid))
        return false;
    shapes.push_back(s);
    return true;
}

QByteArray DrawingWriter::blips(quint32 delayOffset) {
    QByteArray out;
    for (Shape& s : shapes) {
        s.foDelay = delayOffset + quint32(out.size());
        out += s.blip;
    }
    return out;
}

QByteArray DrawingWriter::plcSpa(int storyEnd) const {
    ByteWriter w;
    for (const Shape& s : shapes)
        w.u32(quint32(s.cp));
    w.u32(quint32(storyEnd));
    for (const Shape& s : shapes) {
        const model::Picture& p = s.picture;
        w.u32(s.spid);
        w.u32(quint32(p.x));
        w.u32(quint32(p.y));
        w.u32(quint32(p.x + p.shownWidth()));
        w.u32(quint32(p.y + p.shownHeight()));
        int bx = 2, by = 2; // column, paragraph
        if (p.horizontalRelation == model::HorizontalRelation::Margin)
            bx = 0;
        else if (p.horizontalRelation == model::HorizontalRelation::Page)
            bx = 1;
        if (p.verticalRelation == model::VerticalRelation::Margin)
            by = 0;
        else if (p.verticalRelation == model::VerticalRelation::Page)
            by = 1;
        int wr = 2, wrk = 0;
        switch (p.wrap) {
        case model::Wrap::Inline:
        case model::Wrap::Around:
            break;
        case model::Wrap::Left:
            wrk = 1;
            break;
        case model::Wrap::Right:
            wrk = 2;
            break;
        case model::Wrap::TopBottom:
            wr = 1;
            break;
        case model::Wrap::Free:
            wr = 3;
            break;
        }
        w.u16((bx << 1) | (by << 3) | (wr << 5) | (wrk << 9) | (p.behindText ? 0x4000 : 0));
        w.u32(0);
    }
    return w.bytes;
}

QByteArray DrawingWriter::content() const {
    const int n = int(shapes.size());
    // Drawing group: shape id clusters and the BLIP store.
    ByteWriter dgg;
    header(dgg, 0, 0, 0xF006, 16 + 8);
    dgg.u32(kFirstSpid + quint32(n));
    dgg.u32(2);
    dgg.u32(quint32(n + 1));
    dgg.u32(1);
    dgg.u32(1);
    dgg.u32(quint32(n + 2));
    ByteWriter store;
    for (const Shape& s : shapes) {
        header(store, 2, s.blipType, 0xF007, 36);
        store.u8(s.blipType);
        store.u8(s.blipType);
        store.raw(QCryptographicHash::hash(s.picture.data, QCryptographicHash::Md5));
        store.u16(0xFF);
        store.u32(quint32(s.blip.size()));
        store.u32(1);
        store.u32(s.foDelay);
        store.u32(0);
    }
    header(dgg, 0xF, n, 0xF001, quint32(store.size()));
    dgg.raw(store.bytes);
    ByteWriter dggContainer;
    header(dggContainer, 0xF, 0, 0xF000, quint32(dgg.size()));
    dggContainer.raw(dgg.bytes);

    // Drawing 1: the patriarch group and one picture frame per shape.
    ByteWriter group;
    {
        ByteWriter sp;
        header(sp, 1, 0, 0xF009, 16);
        sp.zeros(16);
        header(sp, 2, 0, 0xF00A, 8);
        sp.u32(0x400);
        sp.u32(0x5); // group, patriarch
        header(group, 0xF, 0, 0xF004, quint32(sp.size()));
        group.raw(sp.bytes);
    }
    for (int i = 0; i < n; ++i) {
        ByteWriter sp;
        header(sp, 2, 75, 0xF00A, 8);
        sp.u32(shapes[size_t(i)].spid);
        sp.u32(0x0A00);
        header(sp, 3, 1, 0xF00B, 6);
        sp.u16(0x4104);
        sp.u32(quint32(i + 1)); // BLIP i + 1 of the store
        header(sp, 0, 0, 0xF010, 4);
        sp.u32(0);
        header(sp, 0, 0, 0xF011, 4);
        sp.u32(1);
        header(group, 0xF, 0, 0xF004, quint32(sp.size()));
        group.raw(sp.bytes);
    }
    ByteWriter dg;
    header(dg, 0, 1, 0xF008, 8);
    dg.u32(quint32(n + 1));
    dg.u32(kFirstSpid + quint32(n) - 1);
    header(dg, 0xF, 0, 0xF003, quint32(group.size()));
    dg.raw(group.bytes);
    ByteWriter out;
    out.raw(dggContainer.bytes);
    out.u8(0); // the main text's drawing
    header(out, 0xF, 0, 0xF002, quint32(dg.size()));
    out.raw(dg.bytes);
    return out.bytes;
}

namespace {

// Walks the records of [pos, end): BLIP store entries and shapes (spid, pib).
void walkDrawing(const ByteReader& r, qint64 pos, qint64 end, const QByteArray& delay,
                 std::vector<model::Picture>& store, std::vector<std::pair<quint32, int>>& shapes,
                 Budget& budget, int depth) {
    quint32 spid = 0;
    while (pos + 8 <= end && depth < 10 && !budget.exhausted()) {
        const int verInst = r.u16(pos);
        const int type = r.u16(pos + 2);
        const qint64 len = r.u32(pos + 4);
        const qint64 body = pos + 8;
        if (len > end - body)
            return;
        if (type == 0xF007) {
            model::Picture pic;
            findBlip(r, pos, body + len, delay, pic, 0);
            // Entries stored apart may all name the same bytes: each copy counts.
            budget.spend(qint64(sizeof(model::Picture)) + pic.data.size());
            store.push_back(pic);
        } else if ((verInst & 0xF) == 0xF) {
            walkDrawing(r, body, body + len, delay, store, shapes, budget, depth + 1);
        } else if (type == 0xF00A) {
            spid = r.u32(body);
        } else if (type == 0xF00B) {
            const int count = verInst >> 4;
            for (int i = 0; i < count && 6 * i + 6 <= len; ++i) {
                const int opid = r.u16(body + 6 * i) & 0x3FFF;
                if (opid == 0x0104) {
                    shapes.emplace_back(spid, int(r.u32(body + 6 * i + 2)));
                    budget.spend(qint64(sizeof(shapes[0])));
                }
            }
        }
        pos = body + len;
    }
}

} // namespace

DrawingPictures readDrawing(const QByteArray& dggInfo, const QByteArray& delay, Budget& budget) {
    DrawingPictures out;
    const ByteReader r(dggInfo);
    std::vector<model::Picture> store;
    std::vector<std::pair<quint32, int>> shapes;
    // The drawing group, then each drawing behind a one-byte label.
    qint64 pos = 0;
    bool group = true;
    while (pos + 8 <= r.size()) {
        if (!group)
            ++pos; // 0: main text, 1: headers
        const qint64 len = r.u32(pos + 4);
        if (r.failed() || len > r.size() - pos - 8)
            break;
        walkDrawing(r, pos, pos + 8 + len, delay, store, shapes, budget, 0);
        pos += 8 + len;
        group = false;
    }
    for (const auto& [spid, pib] : shapes)
        if (pib >= 1 && pib <= int(store.size()) && !store[size_t(pib - 1)].data.isEmpty()) {
            out.bySpid.emplace_back(spid, store[size_t(pib - 1)]);
            budget.spend(qint64(sizeof(out.bySpid[0])));
        }
    return out;
}

} // namespace msdoc

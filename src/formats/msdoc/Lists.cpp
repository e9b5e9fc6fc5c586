#include "Lists.h"

#include "Bytes.h"
#include "Sprm.h"

#include "ListNumbers.h"

#include <QHash>

namespace msdoc {

namespace {

model::ListLevel defaultLevel(int level) {
    model::ListLevel l;
    l.format = model::NumberFormat::Decimal;
    l.text = QStringLiteral("%%1.").arg(level + 1);
    l.indent = 420 * (level + 1);
    l.hanging = 420;
    return l;
}

} // namespace

ListTables writeLists(const std::vector<model::ListDef>& lists) {
    ListTables out;
    ByteWriter lst, levels, lfo, lfoData;
    lst.u16(int(lists.size()));
    lfo.u32(quint32(lists.size()));
    for (size_t i = 0; i < lists.size(); ++i) {
        const quint32 lsid = 0x2A000000u + quint32(i) * 7919u + 1;
        lst.u32(lsid);
        lst.u32(0); // template code
        for (int k = 0; k < 9; ++k)
            lst.u16(0x0FFF);
        lst.u8(0);
        lst.u8(0);
        for (int k = 0; k < 9; ++k) {
            const model::ListLevel l =
                k < int(lists[i].levels.size()) ? lists[i].levels[size_t(k)] : defaultLevel(k);
            // Level text: "%n" becomes the placeholder character n - 1.
            QString xst;
            QByteArray nums(9, '\0');
            int placeholders = 0;
            if (l.format == model::NumberFormat::Bullet) {
                xst = l.text.isEmpty() ? QString(QChar(0x2022)) : l.text.left(1);
            } else {
                for (qsizetype c = 0; c < l.text.size(); ++c) {
                    if (l.text[c] == u'%' && c + 1 < l.text.size() && l.text[c + 1] >= u'1' &&
                        l.text[c + 1] <= u'9') {
                        xst += QChar(l.text[c + 1].unicode() - u'1');
                        if (placeholders < 9)
                            nums[placeholders++] = char(xst.size());
                        ++c;
                    } else {
                        xst += l.text[c];
                    }
                }
            }
            ByteWriter papx;
            papx.u16(sprm::PDxaLeft80);
            papx.u16(l.indent);
            papx.u16(sprm::PDxaLeft180);
            papx.u16(-l.hanging);
            const ByteWriter chpx;
            levels.u32(quint32(l.start));
            levels.u8(model::wordNumberCode(l.format));
            levels.u8(0);
            levels.raw(nums);
            levels.u8(0); // a tab after the number
            levels.u32(0);
            levels.u32(0);
            levels.u8(int(chpx.size()));
            levels.u8(int(papx.size()));
            levels.u8(0);
            levels.u8(0);
            levels.raw(papx.bytes);
            levels.raw(chpx.bytes);
            levels.u16(int(xst.size()));
            levels.utf16(xst);
        }
        lfo.u32(lsid);
        lfo.u32(0);
        lfo.u32(0);
        lfo.u8(0);
        lfo.u8(0);
        lfo.u8(0);
        lfo.u8(0);
        lfoData.u32(0xFFFFFFFF);
    }
    out.plfLst = lst.bytes + levels.bytes;
    out.plfLfo = lfo.bytes + lfoData.bytes;
    return out;
}

std::vector<ReadList> readLists(const QByteArray& table, quint32 fcLst, quint32 lcbLst,
                                quint32 fcLfo, quint32 lcbLfo, Budget& budget) {
    std::vector<ReadList> out;
    const ByteReader r(table);
    if (!lcbLst || !lcbLfo || !r.has(fcLst, 2) || !r.has(fcLfo, 4))
        return out;
    const int cLst = r.i16(fcLst);
    if (cLst <= 0 || cLst > 4096)
        return out;
    struct Def {
        std::vector<model::ListLevel> levels;
        std::vector<QByteArray> papx;
    };
    QHash<quint32, Def> defs;
    qint64 lvl = qint64(fcLst) + 2 + qint64(cLst) * 28;
    for (int i = 0; i < cLst && r.has(lvl, 0); ++i) {
        const qint64 lstf = qint64(fcLst) + 2 + i * 28;
        const quint32 lsid = r.u32(lstf);
        const bool simple = r.u8(lstf + 26) & 1;
        Def def;
        for (int k = 0; k < (simple ? 1 : 9); ++k) {
            if (!r.has(lvl, 28))
                return out;
            model::ListLevel l;
            l.start = r.i32(lvl);
            l.format = model::numberFormatOfWordCode(r.u8(lvl + 4));
            const int cbChpx = r.u8(lvl + 24), cbPapx = r.u8(lvl + 25);
            const QByteArray papx = r.mid(lvl + 28, cbPapx);
            qint64 p = lvl + 28 + cbPapx + cbChpx;
            const int cch = r.u16(p);
            QString xst;
            for (int c = 0; c < cch && r.has(p + 2 + c * 2, 2); ++c)
                xst += QChar(r.u16(p + 2 + c * 2));
            lvl = p + 2 + qint64(cch) * 2;
            if (l.format == model::NumberFormat::Bullet) {
                l.text = xst;
            } else {
                for (QChar c : xst)
                    l.text +=
                        c.unicode() < 9 ? QStringLiteral("%%1").arg(c.unicode() + 1) : QString(c);
            }
            const ByteReader pr(papx);
            sprm::forEach(papx, [&](int op, int pos, int) {
                if (op == sprm::PDxaLeft80 || op == sprm::PDxaLeft)
                    l.indent = pr.i16(pos);
                else if (op == sprm::PDxaLeft180 || op == sprm::PDxaLeft1)
                    l.hanging = -pr.i16(pos);
            });
            def.levels.push_back(l);
            def.papx.push_back(papx);
        }
        defs.insert(lsid, def);
    }
    // The overrides must lie within the table stream.
    const qint64 room = std::min<qint64>(lcbLfo, r.size() - qint64(fcLfo) - 4) / 16;
    const int lfoMac = int(std::clamp<qint64>(r.i32(fcLfo), 0, room));
    for (int i = 0; i < lfoMac && !budget.exhausted(); ++i) {
        const quint32 lsid = r.u32(qint64(fcLfo) + 4 + i * 16);
        ReadList rl;
        rl.def.id = i + 1;
        if (defs.contains(lsid)) {
            rl.def.levels = defs[lsid].levels;
            rl.levelPapx = defs[lsid].papx;
        }
        // Each override copies its definition's levels, here and in the model.
        budget.spend(
            2 * qint64(sizeof(ReadList) + rl.def.levels.size() * sizeof(model::ListLevel)) +
            qint64(rl.levelPapx.size() * sizeof(QByteArray)));
        out.push_back(rl);
    }
    return out;
}

} // namespace msdoc

#include "TxFieldOps.h"

#include "ListNumbers.h"
#include "TxDocument.h"
#include "TxProps.h"

#include <QHash>
#include <QRegularExpression>

#include <functional>

namespace txfield {

QTextCharFormat formatAt(const QTextDocument* doc, int pos) {
    const QTextBlock b = doc->findBlock(pos);
    if (!b.isValid())
        return {};
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment fr = it.fragment();
        if (pos >= fr.position() && pos < fr.position() + fr.length())
            return fr.charFormat();
    }
    return b.charFormat();
}

int idAt(const QTextDocument* doc, int pos) {
    if (pos < 0)
        return 0;
    const QTextBlock b = doc->findBlock(pos);
    if (!b.isValid() || pos >= b.position() + b.length() - 1)
        return 0;
    return formatAt(doc, pos).intProperty(txp::FieldId);
}

std::vector<Info> list(const QTextDocument* doc) {
    std::vector<Info> out;
    QHash<int, size_t> index;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            const int id = fr.charFormat().intProperty(txp::FieldId);
            if (!id)
                continue;
            const int end = fr.position() + fr.length();
            const auto found = index.constFind(id);
            if (found == index.cend()) {
                index.insert(id, out.size());
                out.push_back({id, fr.position(), end, fr.charFormat()});
            } else {
                out[*found].end = end;
            }
        }
    }
    return out;
}

Info find(const QTextDocument* doc, int id) {
    if (id > 0)
        for (const Info& i : list(doc))
            if (i.id == id)
                return i;
    return {};
}

void strip(QTextCharFormat& f) {
    for (int p : {txp::FieldId, txp::FieldTarget, txp::FieldKind, txp::FieldOption,
                  txp::FieldWordType, txp::FieldInstruction, txp::FieldFormat, txp::FieldOuter})
        f.clearProperty(p);
}

QTextCharFormat popped(QTextCharFormat f) {
    const QVariant outer = f.property(txp::FieldOuter);
    strip(f);
    if (outer.isValid())
        f.merge(outer.value<QTextFormat>());
    return f;
}

bool inChain(const QTextCharFormat& f, int id) {
    for (QTextCharFormat cur = f; cur.intProperty(txp::FieldId);) {
        if (cur.intProperty(txp::FieldId) == id)
            return true;
        const QVariant outer = cur.property(txp::FieldOuter);
        if (!outer.isValid())
            return false;
        cur = outer.value<QTextFormat>().toCharFormat();
    }
    return false;
}

bool prepareInsertion(QTextCursor& c) {
    const QTextDocument* doc = c.document();
    const int p = c.selectionStart();
    const int e = c.selectionEnd();
    // The fields the next character belongs to: text typed here may stay
    // in those, and no others.
    const int after = c.hasSelection() ? e : p;
    const QTextCharFormat next = idAt(doc, after) ? formatAt(doc, after) : QTextCharFormat();
    QTextCharFormat f = c.hasSelection() ? formatAt(doc, p - 1) : c.charFormat();
    const int fid = f.intProperty(txp::FieldId);
    if (!fid || (idAt(doc, p - 1) == fid && inChain(next, fid)))
        return false;
    while (f.intProperty(txp::FieldId) && !inChain(next, f.intProperty(txp::FieldId)))
        f = popped(f);
    if (c.hasSelection())
        c.removeSelectedText();
    c.setCharFormat(f);
    return true;
}

void renumber(TxDocument& owner, QTextDocument* doc, int from, int to) {
    QHash<int, int> fresh;
    auto renew = [&](QTextCharFormat& f, int prop) {
        const int id = f.intProperty(prop);
        if (!id)
            return;
        auto it = fresh.find(id);
        if (it == fresh.end())
            it = fresh.insert(id, owner.newId());
        f.setProperty(prop, *it);
    };
    // A nested field's outer fields are renumbered the same way.
    std::function<void(QTextCharFormat&)> renewChain = [&](QTextCharFormat& f) {
        renew(f, txp::FieldId);
        const QVariant outer = f.property(txp::FieldOuter);
        if (outer.isValid()) {
            QTextCharFormat o = outer.value<QTextFormat>().toCharFormat();
            renewChain(o);
            f.setProperty(txp::FieldOuter, QVariant::fromValue(QTextFormat(o)));
        }
    };
    editRuns(doc, from, to, [&](QTextCharFormat& f) {
        renewChain(f);
        renew(f, txp::ObjectId);
    });
}

PageNumber pageNumberOf(const QTextCharFormat& f) {
    if (!f.intProperty(txp::FieldId))
        return PageNumber::None;
    // The field's model type, as the bridge stores it.
    switch (model::FieldType(f.intProperty(txp::FieldWordType))) {
    case model::FieldType::Page:
        return PageNumber::Page;
    case model::FieldType::NumPages:
        return PageNumber::Pages;
    default:
        return PageNumber::None;
    }
}

QString pageNumberText(const QString& instruction, const QString& stored, int n) {
    static const QRegularExpression format(QStringLiteral("\\\\\\*\\s*([A-Za-z]+)"));
    const QString plain = QString::number(n);
    const QRegularExpressionMatch m = format.match(instruction);
    if (m.hasMatch() && n > 0) {
        const QString name = m.captured(1);
        const QString lower = name.toLower();
        const bool upper = name.at(0).isUpper(); // ROMAN: XI, roman: xi
        using model::NumberFormat;
        if (lower == QLatin1String("roman") && n < 4000)
            return model::formatListNumber(n, upper ? NumberFormat::UpperRoman
                                                    : NumberFormat::LowerRoman);
        if (lower == QLatin1String("alphabetic"))
            return model::formatListNumber(n, upper ? NumberFormat::UpperLetter
                                                    : NumberFormat::LowerLetter);
        if (lower == QLatin1String("arabicdash"))
            return QStringLiteral("- %1 -").arg(n);
        if (lower == QLatin1String("dbchar"))
            return model::formatListNumber(n, NumberFormat::DecimalFullWidth);
        if (lower == QLatin1String("arabic"))
            return plain;
    }
    for (const QChar c : stored)
        if (c.unicode() >= 0xFF10 && c.unicode() <= 0xFF19)
            return model::formatListNumber(n, model::NumberFormat::DecimalFullWidth);
    return plain;
}

bool showPageNumbers(QTextDocument* doc, int page, int pages) {
    const std::vector<Info> all = list(doc);
    bool found = false;
    QTextCursor c(doc);
    // From the last field back, so the earlier ones keep their places.
    for (auto it = all.rbegin(); it != all.rend(); ++it) {
        const PageNumber kind = pageNumberOf(it->format);
        if (kind == PageNumber::None)
            continue;
        found = true;
        c.setPosition(it->start);
        c.setPosition(it->end, QTextCursor::KeepAnchor);
        const QString text =
            pageNumberText(it->format.stringProperty(txp::FieldInstruction), c.selectedText(),
                           kind == PageNumber::Page ? page : pages);
        c.insertText(text, it->format);
    }
    return found;
}

} // namespace txfield

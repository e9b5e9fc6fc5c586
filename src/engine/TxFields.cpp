// TxEngine: hypertext fields.
#include "TxEngine.h"

#include "TextMap.h"
#include "TxEngineState.h"
#include "TxFieldOps.h"
#include "TxProps.h"

#include <QTextCursor>
#include <QTextDocument>

int TxEngine::FieldInsert(const QString& caption) {
    QTextCursor c = d->ed()->textCursor();
    if (caption.isEmpty())
        return 0;
    c.beginEditBlock();
    c.removeSelectedText();
    QTextCharFormat f = c.charFormat();
    txfield::strip(f);
    const int id = d->doc.newId();
    f.setProperty(txp::FieldId, id);
    f.setProperty(txp::FieldKind, 0);
    f.setProperty(txp::FieldOption, 0);
    f.setProperty(txp::FieldTarget, QString());
    const int start = c.position();
    QString text = caption;
    text.replace(QChar(textmap::kLine), QChar(0x2028));
    text.remove(QChar(textmap::kPara));
    text.remove(QChar(textmap::kPage));
    c.insertText(text, f);
    c.endEditBlock();
    d->ed()->setTextCursor(c);
    d->curField = id;
    d->curFieldStart = start;
    return id;
}

int TxEngine::CurField() const {
    return d->curField;
}

void TxEngine::SetCurField(int id) {
    d->curField = id;
    const txfield::Info i = txfield::find(d->adoc(), id);
    if (i.id)
        d->curFieldStart = i.start;
}

QString TxEngine::FieldText() const {
    const txfield::Info i = txfield::find(d->adoc(), d->curField);
    return i.id ? textmap::text(d->adoc(), i.start, i.end) : QString();
}

void TxEngine::SetFieldText(const QString& caption) {
    const txfield::Info i = txfield::find(d->adoc(), d->curField);
    if (!i.id)
        return;
    d->curFieldStart = i.start;
    QTextCursor c(d->adoc());
    c.setPosition(i.start);
    c.setPosition(i.end, QTextCursor::KeepAnchor);
    QString text = caption;
    text.replace(QChar(textmap::kLine), QChar(0x2028));
    text.remove(QChar(textmap::kPara));
    text.remove(QChar(textmap::kPage));
    c.insertText(text, i.format);
}

namespace {
// Applies one property to every run of field `id`.
void setFieldProperty(QTextDocument* doc, int id, int prop, const QVariant& v) {
    const txfield::Info i = txfield::find(doc, id);
    if (!i.id)
        return;
    txfield::editRuns(doc, i.start, i.end, [&](QTextCharFormat& f) {
        if (f.intProperty(txp::FieldId) == id)
            f.setProperty(prop, v);
    });
}
} // namespace

QString TxEngine::FieldTarget(int id) const {
    return txfield::find(d->adoc(), id ? id : d->curField).format.stringProperty(txp::FieldTarget);
}

void TxEngine::SetFieldTarget(int id, const QString& target) {
    setFieldProperty(d->adoc(), id ? id : d->curField, txp::FieldTarget, target);
}

int TxEngine::FieldType(int id) const {
    return txfield::find(d->adoc(), id ? id : d->curField).format.intProperty(txp::FieldKind);
}

void TxEngine::SetFieldType(int id, int type) {
    setFieldProperty(d->adoc(), id ? id : d->curField, txp::FieldKind, type);
}

int TxEngine::FieldOption(int id) const {
    return txfield::find(d->adoc(), id ? id : d->curField).format.intProperty(txp::FieldOption);
}

void TxEngine::SetFieldOption(int id, int option) {
    setFieldProperty(d->adoc(), id ? id : d->curField, txp::FieldOption, option);
}

int TxEngine::FieldStart() const {
    const txfield::Info i = txfield::find(d->adoc(), d->curField);
    return i.id ? i.start : d->curFieldStart;
}

int TxEngine::FieldEnd() const {
    const txfield::Info i = txfield::find(d->adoc(), d->curField);
    return i.id ? i.end : d->curFieldStart;
}

bool TxEngine::FieldDelete(bool keepText) {
    const txfield::Info i = txfield::find(d->adoc(), d->curField);
    if (!i.id)
        return false;
    d->curFieldStart = i.start;
    if (keepText) {
        // The text stays in the fields that held the field, if any.
        txfield::editRuns(d->adoc(), i.start, i.end, [&](QTextCharFormat& f) {
            if (f.intProperty(txp::FieldId) == i.id)
                f = txfield::popped(f);
        });
    } else {
        QTextCursor c(d->adoc());
        c.setPosition(i.start);
        c.setPosition(i.end, QTextCursor::KeepAnchor);
        c.removeSelectedText();
    }
    d->curField = 0;
    return true;
}

int TxEngine::NextField(int kind, int id) const {
    const auto all = txfield::list(d->adoc());
    size_t k = 0;
    if (id) {
        while (k < all.size() && all[k].id != id)
            ++k;
        if (k == all.size())
            return 0;
        ++k;
    }
    for (; k < all.size(); ++k)
        if (kind == 0 || all[k].format.intProperty(txp::FieldKind) == kind)
            return all[k].id;
    return 0;
}

int TxEngine::FieldAtCaret() const {
    const QTextCursor c = d->ed()->textCursor();
    const int pos = c.selectionStart();
    if (const int id = txfield::idAt(d->adoc(), pos))
        return id;
    return c.hasSelection() ? 0 : txfield::idAt(d->adoc(), pos - 1);
}

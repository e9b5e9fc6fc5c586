// uTxm: link and tag markers. Finding the marker at the selection,
// inserting, editing and removing links (style 6, field type 1) and tags to
// other pages (style 7, field type 2), copying a neighbouring marker onto a
// picture, and the data-field placeholder of label layouts.
#include "Frmt.h"
#include "TxEngine.h"
#include "TxProps.h"
#include "sbTxm.h"
#include "sbTxmAnswers.h"
#include "uTxm.h"

#include <QTextCursor>

#include <QTextDocument>
#include <climits>

namespace {

constexpr int kLinkStyle = 6;
constexpr int kTagStyle = 7;
constexpr int kOption = 149;
const QChar kTab = u'\t';
const QChar kObject = QChar(1);

// The caption of a marker on a picture.
QString twoBlanks() {
    return QStringLiteral("  ");
}

// A marker on an inline picture: the picture between two blanks.
QString blankObjectBlank() {
    return QStringLiteral(" ") + kObject + QStringLiteral(" ");
}

bool isTagTarget(const QString& target) {
    return target.left(3).compare(QLatin1String("TG_"), Qt::CaseInsensitive) == 0;
}

// The field properties of a format, alone.
QTextCharFormat fieldOf(const QTextCharFormat& f) {
    QTextCharFormat field;
    for (int p : {txp::FieldId, txp::FieldTarget, txp::FieldKind, txp::FieldOption})
        field.setProperty(p, f.property(p));
    return field;
}

// Whether [from, to) holds no part of a field.
bool noField(QTextDocument* doc, int from, int to) {
    QTextCursor c(doc);
    for (int pos = from + 1; pos <= to; ++pos) {
        c.setPosition(pos);
        if (c.charFormat().hasProperty(txp::FieldId))
            return false;
    }
    return true;
}

} // namespace

// ------------------------------------------------------------ reading

void uTxm::GetMrk(int iFld, QString& sTyp, QString& sVal) const {
    sTyp.clear();
    sVal.clear();
    const QString target = iFld ? mTxt->FieldTarget(iFld) : QString();
    if (target.isEmpty())
        return; // no such field, or one that points nowhere
    Frmt::SplitMrk(target, sTyp, sVal);
}

int uTxm::FldAtSel() {
    int id = mTxt->FieldAtCaret();
    const int start = mTxt->SelStart();
    const int length = mTxt->SelLength();
    if (id || length <= 0)
        return id;
    Busy busy(*this);
    for (int step = 0; step < std::min(length, 2) && !id; ++step) {
        mTxt->SetSelStart(start + step);
        mTxt->SetSelLength(1);
        id = mTxt->FieldAtCaret();
    }
    mTxt->SetSelStart(start);
    mTxt->SetSelLength(length);
    return id;
}

uTxm::NearMarkers uTxm::MarkersAroundObject() {
    NearMarkers near;
    if (!mTxt->CurObject())
        return near;
    const int at = mTxt->SelStart();
    const int keep = mTxt->CurField();
    int beforeEnd = -1;
    int afterStart = INT_MAX;
    for (int id = mTxt->NextField(0, 0); id != 0; id = mTxt->NextField(0, id)) {
        QString kind, value;
        GetMrk(id, kind, value);
        if (kind != QLatin1String("LK") && kind != QLatin1String("TG"))
            continue;
        mTxt->SetCurField(id);
        const int start = mTxt->FieldStart();
        const int end = mTxt->FieldEnd();
        if (end <= at && end > beforeEnd) {
            beforeEnd = end;
            near.before = id;
        } else if (start > at && start < afterStart) {
            afterStart = start;
            near.after = id;
        }
    }
    mTxt->SetCurField(keep);
    return near;
}

// ------------------------------------------------------------ commands

bool uTxm::markerCommand(int iJb, const QVariant& vArg) {
    int mode = vArg.toInt();
    if (iJb == 50)
        return InsLink(mode);
    if (iJb == 51)
        return InsTag(mode);
    // The placeholder is no command of the snapshot table, but it changes
    // the page all the same.
    const bool done = dataField(vArg);
    if (done)
        SetDcEdt(true);
    return done;
}

bool uTxm::MenuMarker(int iJb, int vMode, bool bObj, int iFld) {
    bool done = false;
    {
        Busy busy(*this);
        const QByteArray keptSnap = ySnap;
        const bool keptBSnap = bSnap;
        SnapDoc(false);
        int mode = vMode;
        done = iJb == 51 ? InsTag(mode, bObj, iFld) : InsLink(mode, bObj, iFld);
        if (done) {
            SetDcEdt(true);
        } else {
            ySnap = keptSnap;
            bSnap = keptBSnap;
        }
        int code = iJb;
        emit eRtAct(code);
    }
    SetTlBar();
    return done;
}

bool uTxm::InsLink(int& vMode, bool bObj, int iFld) {
    return insertMarker(false, vMode, bObj, iFld);
}

bool uTxm::InsTag(int& vMode, bool bObj, int iFld) {
    // Tags lead to other pages of the database: only its page editor has them.
    if (iTy != -2)
        return false;
    return insertMarker(true, vMode, bObj, iFld);
}

bool uTxm::insertMarker(bool bTag, int& vMode, bool bObj, int iFld) {
    if (vMode < 0 || vMode > 2)
        return false;
    Busy busy(*this);
    const int style = bTag ? kTagStyle : kLinkStyle;
    // The object menu copies a known marker onto the picture.
    if (vMode == 0 && bObj && iFld) {
        const QString target = mTxt->FieldTarget(iFld);
        if (target.isEmpty() || isTagTarget(target) != bTag)
            return false;
        return InsMrk(style, twoBlanks(), target) != 0;
    }
    if (vMode != 2 && !bObj && mTxt->SelLength() > 0) {
        // A trailing paragraph end does not become part of the marker.
        const QString sel = mTxt->SelText();
        int length = int(sel.size());
        while (length > 0 && (sel[length - 1] == QChar(10) || sel[length - 1] == QChar(12) ||
                              sel[length - 1] == u'\r'))
            --length;
        const int start = mTxt->SelStart();
        mTxt->SetSelStart(start);
        mTxt->SetSelLength(length);
    }
    int field = 0;
    if (vMode != 0) {
        field = FldAtSel();
        if (!field)
            return false;
        mTxt->SetCurField(field);
    }
    if (vMode == 2)
        return DelMrk(true);

    QString caption, target;
    if (!askMarker(bTag, vMode, bObj, field, caption, target)) {
        vMode = -1;
        return false;
    }
    if (vMode == 1) {
        mTxt->SetCurField(field);
        if (!bObj)
            mTxt->SetFieldText(caption);
        mTxt->SetFieldType(field, bTag ? 2 : 1);
        mTxt->SetFieldTarget(field, target);
        mTxt->SetFieldOption(field, kOption);
        return true;
    }
    return InsMrk(style, bObj ? twoBlanks() : caption, target) != 0;
}

// The caption and target of a new or edited marker: a tag's from the host,
// a link's from the link page. False when the answer cancels the command.
bool uTxm::askMarker(bool bTag, int vMode, bool bObj, int field, QString& caption,
                     QString& target) {
    if (bTag) {
        QString sNo, sCap;
        emit eAskTag(sNo, sCap);
        bool ok = false;
        const qint64 page = sNo.trimmed().toLongLong(&ok);
        caption = sCap.trimmed();
        if (!ok || page <= 0 || caption.isEmpty())
            return false;
        target = QStringLiteral("TG_") + QString::number(page);
        return true;
    }
    QString ans;
    if (vMode == 1)
        ans = mTxt->FieldText() + kTab + mTxt->FieldTarget(field);
    else if (!bObj)
        ans = mTxt->SelText();
    if (!dlg_->Act(bObj ? QStringLiteral("LK_OBJ") : QStringLiteral("LK"), ans))
        return false;
    const TxmAns::Link l = TxmAns::ReadLink(ans);
    caption = l.caption;
    target = l.target;
    return !target.isEmpty() && (bObj || !caption.isEmpty());
}

// ------------------------------------------------------------ markers

int uTxm::InsMrk(int iStyle, const QString& sCaption, const QString& sTarget) {
    Busy busy(*this);
    const bool onInlineObject =
        mTxt->CurObject() != 0 && mTxt->SelLength() == 1 && mTxt->SelText() == QString(kObject);
    QString selected = mTxt->SelText();
    selected.remove(kObject);
    const int from = mTxt->SelStart();
    const int to = from + mTxt->SelLength();
    int id = 0;
    if (onInlineObject && sCaption == twoBlanks()) {
        id = wrapObject(sTarget);
    } else if (to > from && selected.trimmed() == sCaption.trimmed() &&
               noField(mTxt->ActiveEdit()->document(), from, to)) {
        // The caption is the selected text: it becomes the marker as it
        // stands, pictures and all, rather than being typed anew.
        id = wrapRange(from, to);
    } else {
        mTxt->SetSelText(QString());
        mTxt->SetSelStart(from);
        id = mTxt->FieldInsert(sCaption);
    }
    if (!id)
        return 0;
    mTxt->SetCurField(id);
    mTxt->SetSelStart(mTxt->FieldStart());
    mTxt->SetSelLength(mTxt->FieldEnd() - mTxt->FieldStart());

    const bool tag = iStyle == kTagStyle;
    const UsrFmt& f = usrFmt[size_t(tag || iStyle == kLinkStyle ? iStyle : TxStyle::kBody)];
    mTxt->SetFontName(f.sFont);
    mTxt->SetFontSize(f.iSize);
    mTxt->SetForeColor(TxStyle::MarkerColor(iStyle));
    setBackground(TxStyle::kWhite);
    mTxt->SetFontBold(false);
    mTxt->SetFontUnderline(true);

    mTxt->SetFieldType(id, tag ? 2 : 1);
    mTxt->SetFieldTarget(id, sTarget);
    mTxt->SetFieldOption(id, kOption);

    // Typing goes on after the marker in plain body text.
    mTxt->SetSelStart(mTxt->FieldEnd());
    bodyLook();
    return id;
}

// Makes the selected inline picture a marker: a field of a blank, the
// picture and a blank. Returns the field id.
int uTxm::wrapObject(const QString& sTarget) {
    const int at = mTxt->SelStart();
    mTxt->SetSelStart(at);
    const int id = mTxt->FieldInsert(QStringLiteral(" "));
    if (!id)
        return 0;
    mTxt->SetFieldTarget(id, sTarget);
    QTextDocument* doc = mTxt->ActiveEdit()->document();
    QTextCursor c(doc);
    c.setPosition(at + 1);
    const QTextCharFormat blank = c.charFormat(); // the field's first blank
    const QTextCharFormat field = fieldOf(blank);
    c.beginEditBlock();
    c.setPosition(at + 2);
    c.insertText(QStringLiteral(" "), blank);
    c.setPosition(at + 1);
    c.setPosition(at + 2, QTextCursor::KeepAnchor);
    c.mergeCharFormat(field);
    c.endEditBlock();
    return id;
}

// Makes the characters [from, to) a field as they stand. Returns its id.
int uTxm::wrapRange(int from, int to) {
    mTxt->SetSelStart(from);
    // A stand-in blank gives the new field its id and properties.
    const int id = mTxt->FieldInsert(QStringLiteral(" "));
    if (!id)
        return 0;
    QTextCursor c(mTxt->ActiveEdit()->document());
    c.setPosition(from + 1);
    const QTextCharFormat field = fieldOf(c.charFormat());
    c.beginEditBlock();
    c.setPosition(to + 1, QTextCursor::KeepAnchor);
    c.mergeCharFormat(field);
    c.setPosition(from);
    c.setPosition(from + 1, QTextCursor::KeepAnchor);
    c.removeSelectedText();
    c.endEditBlock();
    return id;
}

// The body style's look on the selection, or for what is typed next.
void uTxm::bodyLook() {
    const UsrFmt& body = usrFmt[TxStyle::kBody];
    mTxt->SetFontName(body.sFont);
    mTxt->SetFontSize(body.iSize);
    mTxt->SetFontUnderline(false);
    mTxt->SetFontBold(body.iBold == 1);
    mTxt->SetForeColor(quint32(body.nFcr));
    setBackground(quint32(body.nBcr));
}

bool uTxm::DelMrk(bool bKeep) {
    const int field = FldAtSel();
    if (!field)
        return false;
    Busy busy(*this);
    mTxt->SetCurField(field);
    const int start = mTxt->FieldStart();
    const int end = mTxt->FieldEnd();
    // A marker on a picture keeps the picture whatever is asked: only its
    // two blanks go.
    const bool onObject = mTxt->FieldText() == blankObjectBlank();
    if (!mTxt->FieldDelete(bKeep || onObject))
        return false;
    int to = bKeep ? end : start;
    if (onObject) {
        mTxt->SetSelStart(start + 2);
        mTxt->SetSelLength(1);
        mTxt->SetSelText(QString());
        mTxt->SetSelStart(start);
        mTxt->SetSelLength(1);
        mTxt->SetSelText(QString());
        to = start + 1;
    }
    // What is left of the marker reads as body text again.
    if (to > start) {
        mTxt->SetSelStart(start);
        mTxt->SetSelLength(to - start);
        bodyLook();
    }
    mTxt->SetSelStart(start);
    return true;
}

// Command 56: the placeholder "[FD]" (vArg 1), or the placeholder at the
// selection back into "@".
bool uTxm::dataField(const QVariant& vArg) {
    Busy busy(*this);
    if (vArg.toInt() == 1) {
        const int id = mTxt->FieldInsert(QStringLiteral("[FD]"));
        if (!id)
            return false;
        mTxt->SetFieldType(id, 1);
        mTxt->SetFieldTarget(id, QStringLiteral("@"));
        mTxt->SetFieldOption(id, kOption);
        return true;
    }
    // Only placeholders: a link has the same field type and must not be
    // turned into "@".
    const int field = FldAtSel();
    if (!field || mTxt->FieldType(field) != 1 || mTxt->FieldTarget(field) != QLatin1String("@"))
        return false;
    mTxt->SetCurField(field);
    const int start = mTxt->FieldStart();
    const int end = mTxt->FieldEnd();
    if (!mTxt->FieldDelete(true))
        return false;
    mTxt->SetSelStart(start);
    mTxt->SetSelLength(end - start);
    mTxt->SetSelText(QStringLiteral("@"));
    return true;
}

#include "uFkyStrip.h"

#include <QApplication>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QToolButton>

#include <algorithm>

namespace {

constexpr int kGroupGap = 6; // pixels between button groups

// 1-12 for the keys F1-F12, else 0.
int functionKeyNumber(int key) {
    return key >= Qt::Key_F1 && key <= Qt::Key_F12 ? key - Qt::Key_F1 + 1 : 0;
}

Qt::KeyboardModifier modifierOf(int key) {
    switch (key) {
    case Qt::Key_Shift:
        return Qt::ShiftModifier;
    case Qt::Key_Control:
        return Qt::ControlModifier;
    case Qt::Key_Alt:
        return Qt::AltModifier;
    default:
        return Qt::NoModifier;
    }
}

} // namespace

uFkyStrip::uFkyStrip(QWidget* parent) : QWidget(parent) {
    for (int i = 0; i < kKeys; ++i) {
        auto* b = new QToolButton(this);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setFocusPolicy(Qt::NoFocus);
        b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
        b->setObjectName(QStringLiteral("key%1").arg(i + 1));
        connect(b, &QToolButton::clicked, this, [this, i] {
            bool bHandled = false;
            pressed(i + 1, cShown_ == QLatin1Char('C') ? 2 : 0, bHandled);
        });
        buttons_[i] = b;
    }
    qApp->installEventFilter(this);
}

uFkyStrip::~uFkyStrip() {
    qApp->removeEventFilter(this);
}

const uFkyStrip::Key* uFkyStrip::find(const QString& sKey) const {
    if (sKey.size() < 2)
        return nullptr;
    bool ok = false;
    const int n = sKey.mid(1).toInt(&ok);
    if (!ok || n < 1 || n > kKeys || sKey.mid(1) != QString::number(n))
        return nullptr;
    if (sKey[0] == QLatin1Char('F'))
        return &keysF_[n - 1];
    if (sKey[0] == QLatin1Char('C'))
        return &keysC_[n - 1];
    return nullptr;
}

uFkyStrip::Key* uFkyStrip::find(const QString& sKey) {
    return const_cast<Key*>(std::as_const(*this).find(sKey));
}

bool uFkyStrip::HasKey(const QString& sKey) const {
    return find(sKey) != nullptr;
}

bool uFkyStrip::update(const QString& sKey, const std::function<void(Key&)>& change) {
    Key* k = find(sKey);
    if (!k)
        return false;
    change(*k);
    refresh(sKey.mid(1).toInt());
    return true;
}

bool uFkyStrip::SetCaption(const QString& sKey, const QString& sCp) {
    return update(sKey, [&](Key& k) { k.caption = sCp; });
}

bool uFkyStrip::SetToolTip(const QString& sKey, const QString& sTip) {
    return update(sKey, [&](Key& k) { k.tip = sTip; });
}

bool uFkyStrip::SetKeyEnabled(const QString& sKey, bool bOn) {
    return update(sKey, [&](Key& k) { k.enabled = bOn; });
}

QString uFkyStrip::Caption(const QString& sKey) const {
    const Key* k = find(sKey);
    return k ? k->caption : QString();
}

QString uFkyStrip::ToolTip(const QString& sKey) const {
    const Key* k = find(sKey);
    return k ? k->tip : QString();
}

bool uFkyStrip::KeyEnabled(const QString& sKey) const {
    const Key* k = find(sKey);
    return k && k->enabled;
}

void uFkyStrip::ShowGroup(QChar cGroup) {
    const QChar g = cGroup == QLatin1Char('C') ? cGroup : QLatin1Char('F');
    if (g == cShown_)
        return;
    cShown_ = g;
    for (int n = 1; n <= kKeys; ++n)
        refresh(n);
}

void uFkyStrip::SetLayoutString(const QString& sLayout) {
    sLayout_ = sLayout;
    place();
}

QToolButton* uFkyStrip::Button(int nKey) const {
    return nKey >= 1 && nKey <= kKeys ? buttons_[nKey - 1] : nullptr;
}

int uFkyStrip::ShiftState(Qt::KeyboardModifiers mods) {
    return (mods & Qt::ShiftModifier ? 1 : 0) | (mods & Qt::ControlModifier ? 2 : 0) |
           (mods & Qt::AltModifier ? 4 : 0);
}

void uFkyStrip::refresh(int nKey) {
    const Key& k = (cShown_ == QLatin1Char('C') ? keysC_ : keysF_)[nKey - 1];
    QToolButton* b = buttons_[nKey - 1];
    b->setText(k.caption);
    b->setToolTip(k.tip);
    b->setEnabled(k.enabled);
    fitCaption(b);
}

// A caption wider than its key ("F4 閉じる" on a narrow strip) is drawn in a
// smaller font, down to a least size, rather than cut at both ends.
void uFkyStrip::fitCaption(QToolButton* b) const {
    constexpr double kLeast = 6.0;
    QFont f = font();
    const int room = b->width() - 6;
    const QString text = b->text();
    while (f.pointSizeF() > kLeast && room > 0 && QFontMetrics(f).horizontalAdvance(text) > room)
        f.setPointSizeF(std::max(kLeast, f.pointSizeF() - 0.5));
    b->setFont(f);
}

void uFkyStrip::place() {
    // Group sizes from the layout string; they must cover every key.
    QList<int> groups;
    int total = 0;
    for (const QString& part : sLayout_.split(QLatin1Char('|'))) {
        bool ok = false;
        const int n = part.trimmed().toInt(&ok);
        if (!ok || n <= 0) {
            total = -1;
            break;
        }
        groups.append(n);
        total += n;
    }
    if (total != kKeys)
        groups = {kKeys};

    const int avail = width() - kGroupGap * int(groups.size() - 1);
    int key = 0;
    int gapsBefore = 0;
    for (int g : groups) {
        for (int i = 0; i < g; ++i, ++key) {
            const int x0 = avail * key / kKeys + gapsBefore;
            const int x1 = avail * (key + 1) / kKeys + gapsBefore;
            buttons_[key]->setGeometry(x0, 0, x1 - x0, height());
            fitCaption(buttons_[key]);
        }
        gapsBefore += kGroupGap;
    }
}

void uFkyStrip::resizeEvent(QResizeEvent* ev) {
    QWidget::resizeEvent(ev);
    place();
}

void uFkyStrip::pressed(int nKey, int nShift, bool& bHandled) {
    emit FkeyPress(nKey, nShift, bHandled);
}

bool uFkyStrip::eventFilter(QObject* obj, QEvent* ev) {
    // A hidden strip leaves the keys to the window's menu shortcuts.
    if (!obj->isWidgetType() || !isVisible())
        return false;
    QWidget* host = window();
    QWidget* target = static_cast<QWidget*>(obj);
    switch (ev->type()) {
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(ev);
        if (const Qt::KeyboardModifier m = modifierOf(k->key()); m != Qt::NoModifier) {
            // Seen once per widget the event passes through; report changes only.
            if (ev->type() == QEvent::ShortcutOverride || target->window() != host)
                return false;
            Qt::KeyboardModifiers mods = k->modifiers();
            mods.setFlag(m, ev->type() == QEvent::KeyPress);
            const int nShift = ShiftState(mods);
            if (nShift != nShift_) {
                nShift_ = nShift;
                emit ShiftChange(nShift);
            }
            return false;
        }
        const int nKey = functionKeyNumber(k->key());
        // Function keys are taken when they reach the window itself, i.e. no
        // widget inside it claimed them.
        if (!nKey || target != host || ev->type() == QEvent::KeyRelease)
            return false;
        if (ev->type() == QEvent::KeyPress && nOfferedKey_ == k->key()) {
            nOfferedKey_ = 0;
            return bOfferedHandled_;
        }
        bool bHandled = false;
        pressed(nKey, ShiftState(k->modifiers()), bHandled);
        if (ev->type() == QEvent::ShortcutOverride) {
            nOfferedKey_ = k->key();
            bOfferedHandled_ = bHandled;
            if (bHandled)
                k->accept();
        }
        return bHandled;
    }
    case QEvent::WindowDeactivate:
        if (target == host) {
            nShift_ = 0;
            emit KeysReleased();
        }
        return false;
    default:
        return false;
    }
}

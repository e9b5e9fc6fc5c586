#include "uFky.h"
#include "MenuCode.h"
#include "Usr.h"
#include "uFkyHost.h"
#include "uFkyKeySets.h"
#include "uFkyLayout.h"
#include "uFkyLinks.h"
#include "uFkyStrip.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QStyle>
#include <exception>

namespace {

// Runs one operation of the bar; failures are swallowed and reported under
// the operation's name.
template <typename F> void guarded(const char* sProc, F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        MenuCode::ReportError(QLatin1String(sProc), QString::fromLocal8Bit(e.what()));
    } catch (...) {
        MenuCode::ReportError(QLatin1String(sProc), QStringLiteral("unknown error"));
    }
}

// Lets queued painting and timers run so a message or a pressed key shows at
// once. User input waits, so no second command starts inside the first.
void letPendingRun() {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// The menu caption up to its first "(": "新規作成(&N)" gives "新規作成".
QString captionStem(const QString& sCaption) {
    const qsizetype p = sCaption.indexOf(QLatin1Char('('));
    return (p < 0 ? sCaption : sCaption.left(p)).trimmed();
}

QRect toPixels(const QRect& twips) {
    const auto px = [](int t) { return (t + Usr::kTwipsPerPixel / 2) / Usr::kTwipsPerPixel; };
    const int x0 = px(twips.x()), y0 = px(twips.y());
    return QRect(x0, y0, px(twips.x() + twips.width()) - x0, px(twips.y() + twips.height()) - y0);
}

struct PanelLook {
    QStyle::StandardPixmap icon;
    QColor colour;
};

// Icon index 0-3 -> icon and text colour.
PanelLook panelLook(int nKind) {
    switch (nKind) {
    case 1:
        return {QStyle::SP_MessageBoxCritical, QColor(255, 0, 0)};
    case 2:
        return {QStyle::SP_MessageBoxQuestion, QColor(0, 0, 255)};
    case 3:
        return {QStyle::SP_MessageBoxWarning, QColor(0, 0, 0)};
    default:
        return {QStyle::SP_MessageBoxInformation, QColor(0, 128, 128)};
    }
}

} // namespace

uFky::uFky(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("uFky"));
    fkey_ = new uFkyStrip(this);
    fkey_->setObjectName(QStringLiteral("Fkey"));

    panel_ = new QFrame(this);
    panel_->setObjectName(QStringLiteral("panel"));
    panel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* row = new QHBoxLayout(panel_);
    row->setContentsMargins(2, 0, 2, 0);
    row->setSpacing(4);
    pnlIcon_ = new QLabel(panel_);
    pnlText_ = new QLabel(panel_);
    // Messages carry page titles and paths: never taken for markup.
    pnlText_->setTextFormat(Qt::PlainText);
    pnlText_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    row->addWidget(pnlIcon_);
    row->addWidget(pnlText_, 1);

    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("progress"));
    bar_->hide();

    connect(fkey_, &uFkyStrip::FkeyPress, this, &uFky::mFky_FkeyPress, Qt::DirectConnection);
    connect(fkey_, &uFkyStrip::ShiftChange, this,
            [this](int nShift) { fkey_->ShowGroup(QLatin1Char(nShift == 2 ? 'C' : 'F')); });
    connect(fkey_, &uFkyStrip::KeysReleased, this, &uFky::SetDef);
}

uFky::~uFky() {
    // The strip outlives this part of the object while QWidget deletes its
    // children; hiding the window then must not reach this object.
    disconnect(fkey_, nullptr, this, nullptr);
}

void uFky::cOn(uFkyHost* xFmIn, bool bFullGrp) {
    xFm = xFmIn;
    if (bFullGrp)
        fkey_->SetLayoutString(kFullGroupLayout);
    sKeyMap.clear();
    fkey_->ShowGroup(QLatin1Char('F'));
}

void uFky::cOff() {
    sKeyMap.clear();
    xFm = nullptr;
}

void uFky::cKey(const QString& sFkY, int iMn, int iNdx, const QString& sCp, QString sTP) {
    guarded("cKey", [&] {
        QAction* item = uFkyMenuItem(xFm, iMn, iNdx);
        if (!item)
            return;
        const QString code = MenuCode::Encode(iMn, iNdx);
        if (code.isEmpty())
            return;
        if (!fkey_->HasKey(sFkY)) {
            MenuCode::ReportError(QStringLiteral("cKey"), QStringLiteral("no key ") + sFkY);
            return;
        }
        if (sTP.isEmpty())
            sTP = captionStem(item->text());
        uFkyLinks::Link(sKeyMap, sFkY, code);
        const bool bShown = !sCp.isEmpty();
        fkey_->SetCaption(sFkY, bShown ? sFkY + QLatin1Char(' ') + sCp : QString());
        fkey_->SetToolTip(sFkY, bShown ? sTP : QString());
    });
}

void uFky::cCap(const QString& sFkY, const QString& sCp) {
    if (!fkey_->SetCaption(sFkY, sFkY + QLatin1Char(' ') + sCp))
        return;
    if (QAction* item = uFkyMenuItem(xFm, uFkyLinks::LinkedCode(sKeyMap, sFkY)))
        item->setText(sCp);
}

void uFky::cKyS() {
    guarded("cKyS", [&] {
        sGrpKeys.clear();
        if (xFm)
            sGrpKeys = uFkyLinks::GroupKeys(uFkyKeySets::KeySet(xFm->FormName()), sKeyMap);
    });
}

void uFky::SetEnb(int iMnu, const QString& sNdx, bool bCan, bool bVsbl) {
    guarded("SetEnb", [&] {
        QString keys;
        for (const QString& part : sNdx.split(QLatin1Char('.'), Qt::SkipEmptyParts)) {
            bool ok = false;
            const int iNdx = part.trimmed().toInt(&ok);
            QAction* item = ok ? uFkyMenuItem(xFm, iMnu, iNdx) : nullptr;
            if (!item)
                continue;
            if (bVsbl)
                item->setVisible(bCan);
            else if (item->isVisible())
                item->setEnabled(bCan);
            const QString code = MenuCode::Encode(iMnu, iNdx);
            if (code.isEmpty())
                continue;
            for (const QString& key : uFkyLinks::LinkedKeys(sKeyMap, code))
                keys += key + QLatin1Char(',');
            keys += uFkyLinks::GroupKeyList(sGrpKeys, code);
        }
        if (!keys.isEmpty())
            SetEnbKy(keys, bCan);
    });
}

void uFky::SetEnbByMenu() {
    for (const auto& [key, code] : uFkyLinks::Entries(sKeyMap))
        if (QAction* item = uFkyMenuItem(xFm, code))
            fkey_->SetKeyEnabled(key, item->isEnabled());
}

void uFky::SetEnbKy(const QString& sFmn, bool bCan) {
    guarded("SetEnbKy", [&] {
        QString list = sFmn;
        if (list.endsWith(QLatin1Char(',')))
            list.chop(1);
        for (const QString& name : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
            const QString key = name.trimmed().toUpper();
            if (!fkey_->SetKeyEnabled(key, bCan))
                MenuCode::ReportError(QStringLiteral("SetEnbKy"), QStringLiteral("no key ") + key);
        }
    });
}

void uFky::SetDef() {
    fkey_->ShowGroup(QLatin1Char('F'));
}

void uFky::PanelTx(const QString& sTx, int fOpt) {
    guarded("PanelTx", [&] {
        const int nKind = fOpt == 1 ? 3 : fOpt == 2 ? 2 : fOpt == 4 ? 1 : 0;
        if (nKind != nPnlKind) {
            const PanelLook look = panelLook(nKind);
            const int side = style()->pixelMetric(QStyle::PM_SmallIconSize);
            pnlIcon_->setPixmap(style()->standardIcon(look.icon).pixmap(side, side));
            QPalette pal = pnlText_->palette();
            pal.setColor(QPalette::WindowText, look.colour);
            pnlText_->setPalette(pal);
            nPnlKind = qint16(nKind);
        }
        pnlText_->setText(sTx + QStringLiteral("     "));
        if (panel_->isVisible())
            panel_->repaint();
        letPendingRun();
    });
}

void uFky::pbMax(int nCn) {
    guarded("pbMax", [&] {
        bProgress_ = nCn > 0;
        if (bProgress_) {
            bar_->setGeometry(panel_->geometry());
            bar_->setRange(0, nCn);
            bar_->setValue(0);
            panel_->hide();
            bar_->show();
        } else {
            bar_->hide();
            panel_->setVisible(bPanelOn_);
        }
    });
}

void uFky::pbVAL(int nCn) {
    bar_->setValue(qBound(bar_->minimum(), nCn, bar_->maximum()));
    if (bar_->isVisible())
        bar_->repaint();
    letPendingRun();
}

void uFky::StSize() {
    bProgress_ = false;
    bar_->hide();
    ApplyLayout();
}

void uFky::ApplyLayout() {
    const int px = Usr::kTwipsPerPixel;
    const uFkyLayout l = uFkyLayoutFor(width() * px, height() * px, fkey_->LayoutString());
    fkey_->setGeometry(toPixels(l.rcKeys));
    bPanelOn_ = l.bPanel;
    if (l.bPanel)
        panel_->setGeometry(toPixels(l.rcPanel));
    panel_->setVisible(l.bPanel && !bProgress_);
    if (bProgress_)
        bar_->setGeometry(panel_->geometry());
}

void uFky::resizeEvent(QResizeEvent* ev) {
    QWidget::resizeEvent(ev);
    ApplyLayout();
}

QWidget* uFky::Panel() const {
    return panel_;
}
QString uFky::PanelText() const {
    return pnlText_->text();
}
QColor uFky::PanelColor() const {
    return pnlText_->palette().color(QPalette::WindowText);
}

QSize uFky::sizeHint() const {
    return QSize(800, 300 / Usr::kTwipsPerPixel);
}

void uFky::mFky_FkeyPress(int nKey, int nShift, bool& bHandled) {
    guarded("mFky_FkeyPress", [&] {
        letPendingRun();
        // Only plain and Ctrl presses are the bar's; Shift, Alt and other
        // combinations stay with the window (Alt+F4 must never run F4's command).
        if (nShift == 0 || nShift == 2) {
            const QString key = QLatin1Char(nShift == 2 ? 'C' : 'F') + QString::number(nKey);
            const QString code = uFkyLinks::LinkedCode(sKeyMap, key);
            int iMn = 0, iNdx = 0;
            if (!code.isEmpty()) {
                bHandled = true;
                if (xFm && MenuCode::Decode(code, iMn, iNdx)) {
                    QString sRet;
                    xFm->fnMenu(iMn, iNdx, sRet);
                }
            }
        }
        letPendingRun();
        fkey_->ShowGroup(QLatin1Char('F'));
    });
}

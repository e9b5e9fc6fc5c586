#include "TxListLabels.h"

#include "ListNumbers.h"
#include "TxProps.h"
#include "TxVisible.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTextList>

namespace txlabels {

QString text(const QTextBlock& b) {
    const QTextList* list = b.textList();
    if (!list)
        return {};
    const QTextListFormat lf = list->format();
    if (lf.style() != QTextListFormat::ListStyleUndefined)
        return {};
    if (lf.hasProperty(txp::ListBullet))
        return lf.stringProperty(txp::ListBullet);
    if (!lf.hasProperty(txp::ListNumberFormat))
        return {};
    const auto format = model::NumberFormat(lf.intProperty(txp::ListNumberFormat));
    const int start = lf.hasProperty(txp::ListStart) ? lf.intProperty(txp::ListStart) : 1;
    return lf.numberPrefix() + model::formatListNumber(start + list->itemNumber(b), format) +
           lf.numberSuffix();
}

void paint(QPainter& p, QTextDocument* doc, const QRectF& clip) {
    QPaintDevice* device = doc->documentLayout()->paintDevice();
    p.save();
    txvisible::forBlocks(doc, clip, [&](const QTextBlock& b, const QPointF& origin) {
        const QString label = text(b);
        if (label.isEmpty())
            return;
        const QTextCharFormat cf = b.charFormat();
        const QTextLine first = b.layout()->lineAt(0);
        const double space = QFontMetricsF(cf.font(), device).horizontalAdvance(u' ');
        p.setPen(txvisible::textColor(cf));
        txvisible::drawText(
            p, label, cf.font(), device,
            QPointF(origin.x() + first.x() - space, origin.y() + txvisible::baseline(first)),
            Qt::AlignRight);
    });
    p.restore();
}

} // namespace txlabels

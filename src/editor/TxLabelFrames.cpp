#include "TxLabelFrames.h"

#include "TxEngine.h"

#include <QStringList>

namespace TxLabel {

namespace {

// A data-field placeholder is a kind-1 field whose target is "@"; link
// markers share the kind with other targets.
const QString kDataTarget = QStringLiteral("@");

} // namespace

QString FieldList(const TxEngine& tx) {
    QStringList ids;
    for (int id = tx.NextField(1, 0); id != 0; id = tx.NextField(1, id))
        ids.append(QString::number(id));
    return ids.join(u',');
}

QString FrameList(const TxEngine& tx) {
    QStringList ids;
    for (int id = tx.NextTextFrame(0); id != 0; id = tx.NextTextFrame(id))
        ids.append(QStringLiteral("%1").arg(id, 5, 10, QChar(u'0')));
    return ids.join(u',');
}

int IdAt(const QString& list, int n) {
    if (n < 1 || list.isEmpty())
        return 0;
    const QStringList ids = list.split(u',');
    return n <= ids.size() ? ids[n - 1].toInt() : 0;
}

void Number(TxEngine& tx) {
    tx.TextFrameSelect(0);
    const QString fields = FieldList(tx);
    for (int n = 1;; ++n) {
        const int id = IdAt(fields, n);
        if (!id)
            break;
        if (tx.FieldTarget(id) != kDataTarget)
            continue;
        tx.SetCurField(id);
        tx.SetFieldText(QStringLiteral("FD:%1").arg(n));
    }
    const QString frames = FrameList(tx);
    for (int n = 1;; ++n) {
        const int id = IdAt(frames, n);
        if (!id)
            break;
        if (tx.TextFrameSelect(id))
            tx.SetText(QStringLiteral("TF:%1").arg(n));
    }
    tx.TextFrameSelect(0);
}

QList<QRect> Bands(int pageWidth, int pageHeight, int left, int top, int right, int bottom,
                   int bands) {
    QList<QRect> out;
    if (bands < 1)
        return out;
    const int width = pageWidth - left - right;
    const int band = pageHeight / bands;
    const int height = band - top - bottom;
    if (width <= 0 || height <= 0)
        return out;
    for (int k = 0; k < bands; ++k)
        out.append(QRect(left, k * band + top, width, height));
    return out;
}

} // namespace TxLabel

#include "TxNoteTips.h"

#include "Text.h"
#include "TxDocument.h"
#include "TxEngine.h"
#include "TxNotes.h"

#include <QAbstractTextDocumentLayout>
#include <QHelpEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QToolTip>

namespace {

// The longest note text a tip shows; longer ones end in an ellipsis.
constexpr int kTipChars = 600;

class NoteTips final : public QObject {
public:
    explicit NoteTips(TxEngine* engine) : QObject(engine), engine_(engine) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::ToolTip || watched != engine_->viewport())
            return false;
        auto* help = static_cast<QHelpEvent*>(event);
        const QString text = noteTextAt(help->pos());
        if (text.isEmpty())
            return false;
        QToolTip::showText(help->globalPos(), text, engine_->viewport());
        return true;
    }

private:
    // The text of the note whose reference stands under `viewportPos`.
    QString noteTextAt(QPoint viewportPos) const {
        TxDocument& doc = engine_->document2();
        QTextDocument* body = doc.body();
        if (engine_->document() != body || doc.notes.empty())
            return {};
        const QPointF at(viewportPos.x() + engine_->horizontalScrollBar()->value(),
                         viewportPos.y() + engine_->verticalScrollBar()->value());
        const int pos = body->documentLayout()->hitTest(at, Qt::ExactHit);
        if (pos < 0)
            return {};
        // The hit is the caret place nearest the mouse: the character under
        // the mouse is the one after it, or before it when the mouse is left
        // of that place.
        int under = pos;
        const QTextBlock block = body->findBlock(pos);
        if (const QTextLayout* tl = block.layout()) {
            const int rel = pos - block.position();
            const QTextLine line = tl->lineForTextPosition(rel);
            const QRectF br = body->documentLayout()->blockBoundingRect(block);
            if (line.isValid() && at.x() < br.left() + line.cursorToX(rel))
                --under;
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment f = it.fragment();
            if (under < f.position() || under >= f.position() + f.length())
                continue;
            const int index = txnote::noteIndex(f.charFormat());
            if (index < 0 || size_t(index) >= doc.notes.size())
                return {};
            QString text = model::plainText(doc.notes[size_t(index)].blocks).trimmed();
            if (text.size() > kTipChars)
                text = text.left(kTipChars) + QChar(0x2026);
            return text;
        }
        return {};
    }

    TxEngine* engine_;
};

} // namespace

namespace txnote {

void installTips(TxEngine* engine) {
    engine->viewport()->installEventFilter(new NoteTips(engine));
}

} // namespace txnote

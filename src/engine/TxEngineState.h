#pragma once
// TxEngine's private state, shared by the files that implement its
// operations (one concern each).

#include "Pager.h"
#include "TxDocument.h"

#include <QHash>
#include <QImage>
#include <QPointer>
#include <QString>
#include <QTextEdit>
#include <QVariant>

class QPainter;

class TxEngine;

class TxEngineState {
public:
    explicit TxEngineState(TxEngine* q);

    TxEngine* q;
    TxDocument doc;
    Pager pager;

    int viewMode = 0;
    bool showCtrlChars = false;
    bool showGrid = true;
    QHash<int, int> options;
    QString lastError;

    int curField = 0;      // current field id
    int curFieldStart = 0; // where it began when it was last seen
    int curFloat = 0;      // selected positioned image or frame (0: none)

    // Part being edited in place: a header/footer bit, or a frame id.
    int activePart = 0;
    int activeFrame = 0;
    QPointer<QTextEdit> overlay; // editor over the part being edited

    // The editor that holds the caret: the overlay while a part is being
    // edited, else the engine itself.
    QTextEdit* ed() const;
    QTextDocument* adoc() const;

    // Lays the body out for the current view and zoom.
    void applyGeometry();
    // Places the overlay editor over its part.
    void placeOverlay();
    void closeOverlay();
    void openOverlay(QTextDocument* part);

    // The positioned image or frame under a point of the body layout, 0 none.
    int objectAt(QPointF layoutPos) const;
    // The header or footer (mask bit) whose band of a page holds a point of
    // the page view, 0 none.
    int partAt(QPointF layoutPos) const;
    // Top-left of page `page` in body layout units.
    QPointF pageOrigin(int page) const;
    void paintGrid(QPainter& p, const QRectF& area) const;
    QVariant imageProperty(int id, int prop) const;
    // Inserts a loaded document at the caret of the active part.
    void insertDocument(TxDocument& src);
    // A document holding `frag` (taken at `from`) with the images of `owner`.
    static void documentOf(const TxDocument& owner, const class QTextDocumentFragment& frag,
                           const QTextCursor& from, TxDocument& out);
    // Makes a loaded document the engine's own.
    void replaceDocument(TxDocument& loaded);
    void setInlineProperty(int id, int prop, const QVariant& v);
};

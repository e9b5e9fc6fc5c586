#pragma once
// TxEngine: the rich-text engine the editor control drives. A QTextEdit
// editing surface over a TxDocument (main text, headers and footers, text
// frames, floating images, page setup), with the operations the editor uses,
// named as the editor names them.
//
// Units: every measure is in twips; colours are platform colour values
// 0x00BBGGRR (red + 256 * green + 65536 * blue); font sizes in points.
//
// Positions: `Text` has one character per caret position of the active
// document part, so `SelStart`, `SelLength`, `FieldStart`, `FindText` and
// `TableCellStart` positions index `Text` directly:
//   10  paragraph end (also a table row end, the end of the paragraph
//       before a table, and a table's end)
//   11  line break inside a paragraph
//   12  paragraph end where the next paragraph starts a new page
//    9  the end of a table cell that is not the last of its row
//    1  an embedded object (inline image)
//
// Character attributes (`CharAttr(1..4)`) and paragraph values
// (`ParaValue(1..4)`, `ParaAttr0`) are mapped onto real properties, so they
// show on screen and survive the native and Word formats:
//   CharAttr(1)  underline style: 0 none, 1 single, 2 words, 3 double,
//                4 dotted, 5 thick, 6 dash, 7 wave (`FontUnderline` is
//                CharAttr(1) != 0; setting it on gives 1)
//   CharAttr(2)  vertical position: 0 baseline, 1 superscript, 2 subscript
//   CharAttr(3)  character spacing in twips (signed)
//   CharAttr(4)  kerning threshold in half-points (0 off; 7936, the
//                editor's body value, kerns nothing in practice)
//   ParaValue(1) space before the paragraph, twips
//   ParaValue(2) space after the paragraph, twips
//   ParaValue(3) first-line indent relative to `LeftIndent`, twips (signed)
//   ParaValue(4) right indent, twips
//   ParaAttr0    alignment: 0 left, 1 centre, 2 right, 3 justify,
//                4 distributed
//   LineSpacing  minimum line height in twips; 0 the font's own (single)

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTextEdit>

#include <memory>

class QPaintDevice;
class QPainter;
class TxDocument;
class TxEngineState;

class TxEngine : public QTextEdit {
    Q_OBJECT
public:
    // Format numbers of LoadBytes / SaveBytes / LoadFile / SaveFile.
    enum Format {
        FmtText = 1,
        FmtNative = 3,
        FmtHtml = 4,
        FmtRtf = 5,
        FmtDoc = 9,
        FmtPdf = 12,
        FmtDocx = 13
    };
    // Clip operations.
    enum ClipOp { ClipCut = 1, ClipCopy = 2, ClipPaste = 3, ClipDelete = 4 };
    // FindText flags: 16 is always given; +4 matches case; +1 searches backwards.
    enum FindFlag { FindBackwards = 1, FindMatchCase = 4, FindAlways = 16 };
    // Header/footer mask bits; also the ids of the header/footer parts.
    enum HeadFoot { Header = 1, FirstHeader = 2, Footer = 4, FirstFooter = 8 };
    // ViewMode values.
    enum View { ViewNormal = 0, ViewPage = 2 };
    // Text flow of a positioned image (ImageInsert): 0 inline as a character,
    // 1 text flows around it, 2 text stays above and below it, 3 it lies over
    // the text.
    enum Flow { FlowInline = 0, FlowAround = 1, FlowTopBottom = 2, FlowOver = 3 };

    explicit TxEngine(QWidget* parent = nullptr);
    ~TxEngine() override;

    // The engine's document (main text and the parts beside it).
    TxDocument& document2();
    const TxDocument& document2() const;
    // The editing surface of the active part: this widget, or the editor
    // laid over the header, footer or text frame being edited.
    QTextEdit* ActiveEdit() const;

    // --- Text and selection (of the active part: main text, header/footer
    // or text frame being edited) ---
    QString Text() const;
    void SetText(const QString& text);
    int SelStart() const;
    void SetSelStart(int pos); // empties the selection
    int SelLength() const;
    void SetSelLength(int length); // -1 selects to the end
    QString SelText() const;
    void SetSelText(const QString& text); // caret after the inserted text

    // --- Bytes and files; format 3 here, 12 (PDF, written only) from the
    // pages, the others as the format registry reads and writes them (a
    // format it lacks fails, LastError says so). LoadBytes replaces the
    // document (atCaret false) or inserts at the caret; while a text frame
    // is being edited it loads into (and SaveBytes saves, PDF excepted) that
    // frame. Failures leave the document as it
    // was. Replacing gives the widget a new QTextDocument: hosts connect to
    // the widget's signals (textChanged, ...), which also report edits in a
    // header, footer or frame being edited. ---
    bool LoadBytes(const QByteArray& bytes, int format, bool atCaret = false);
    QByteArray SaveBytes(int format, int reserved = 0, bool* ok = nullptr) const;
    bool LoadFile(const QString& path, int format, bool atCaret = false);
    bool SaveFile(const QString& path, int format);
    // The whole document as PDF: the pages of the page view, fonts embedded,
    // links clickable. False with the reason in *error (and LastError).
    bool SavePdf(const QString& path, QString* error = nullptr) const;
    QString LastError() const;
    void ClearAll(); // empty document, default formatting, page setup kept

    // --- Undo, clipboard, objects, find ---
    bool CanUndo() const;
    bool CanRedo() const;
    void Undo();
    void Redo();
    // Every edit of the active part made while one lives is one step of the
    // undo history (an object put in together with its properties).
    class UndoStep {
    public:
        explicit UndoStep(TxEngine& engine);
        ~UndoStep();
        UndoStep(const UndoStep&) = delete;
        UndoStep& operator=(const UndoStep&) = delete;

    private:
        QTextDocument* doc_;
    };
    void Clip(int op);
    bool CanCopy() const;
    bool CanPaste() const;
    int CurObject() const; // id of the selected image or text frame, 0 none
    void SetCurObject(int id);
    // Selects the next match and returns its position; negative when none.
    // start: 0 from the beginning (the end, backwards), -1 from the caret.
    int FindText(const QString& text, int start = -1, int flags = FindAlways);

    // --- Page setup (twips) and view ---
    int PageWidth() const;
    void SetPageWidth(int twips);
    int PageHeight() const;
    void SetPageHeight(int twips);
    int MarginLeft() const;
    void SetMarginLeft(int twips);
    int MarginTop() const;
    void SetMarginTop(int twips);
    int MarginRight() const;
    void SetMarginRight(int twips);
    int MarginBottom() const;
    void SetMarginBottom(int twips);
    bool Landscape() const; // the page is wider than high
    int ViewMode() const;
    void SetViewMode(int mode);
    int ZoomFactor() const; // percent
    void SetZoomFactor(int percent);
    bool ShowCtrlChars() const;
    void SetShowCtrlChars(bool on);
    bool ShowGrid() const; // table grid lines
    void SetShowGrid(bool on);
    int EngineOption(int n) const; // free-form option store, 0 when unset
    void SetEngineOption(int n, int value);
    quint32 ForeColor() const;
    void SetForeColor(quint32 color);
    quint32 TextBkColor() const; // white when the text has no background
    void SetTextBkColor(quint32 color);
    void Refresh();
    void SetFocus();
    bool Visible() const;
    void SetVisible(bool on);

    // --- Character and paragraph formatting of the selection (getters read
    // the first selected character, or the insertion format) ---
    QString FontName() const;
    void SetFontName(const QString& name);
    double FontSize() const; // points
    void SetFontSize(double points);
    bool FontBold() const;
    void SetFontBold(bool on);
    bool FontItalic() const;
    void SetFontItalic(bool on);
    bool FontUnderline() const;
    void SetFontUnderline(bool on);
    bool FontStrike() const;
    void SetFontStrike(bool on);
    int CharAttr(int n) const; // n = 1..4, see the mapping above
    void SetCharAttr(int n, int value);
    int LeftIndent() const;
    void SetLeftIndent(int twips);
    int ParaValue(int n) const; // n = 1..4
    void SetParaValue(int n, int value);
    int ParaAttr0() const;
    void SetParaAttr0(int value);
    int LineSpacing() const;
    void SetLineSpacing(int twips);
    // 1 not in a list, 2 bulleted, 3 numbered; setting 1 removes the list.
    int ListState() const;
    void SetListState(int state);
    // In the page view the page is the layout's own; in the normal view
    // (one long flow, so typing stays fast) forced page breaks are counted
    // exactly and the rest is estimated from the text height of a page.
    struct Caret {
        int page = 1;   // from 1
        int line = 1;   // line on that page, from 1
        int column = 0; // characters from the start of the line, from 0
    };
    Caret CaretPos() const;

    // --- Hypertext fields: a run of caption text with a target, a type (the
    // editor's kind: 1 link or data field, 2 tag) and an option. The caret
    // right after a field types outside it; typing inside extends the
    // caption; ids stay unique (pasted copies get new ones). ---
    int FieldInsert(const QString& caption); // at the caret; becomes current
    int CurField() const;
    void SetCurField(int id);
    QString FieldText() const; // caption of the current field
    void SetFieldText(const QString& caption);
    QString FieldTarget(int id = 0) const; // 0: the current field
    void SetFieldTarget(int id, const QString& target);
    int FieldType(int id = 0) const;
    void SetFieldType(int id, int type);
    int FieldOption(int id = 0) const;
    void SetFieldOption(int id, int option);
    int FieldStart() const; // range of the current field
    int FieldEnd() const;   // one past its last character
    bool FieldDelete(bool keepText);
    // Fields in document order after `id` (0: from the start); kind 0 any,
    // else only fields of that type. 0 when there are no more.
    int NextField(int kind, int id) const;
    int FieldAtCaret() const; // field around the caret or selection start, 0 none

    // --- Tables (ids are the table's place + 1 in the active part) ---
    bool TableInsert(int rows, int columns);
    bool TableInsertColumn(bool right);
    bool TableInsertRows(bool below, int count = 1);
    bool TableSplit(bool below);
    bool TableDeleteColumn();
    bool TableDeleteRows(); // the rows of the selection; all rows remove the table
    enum TablePart { SelTable = 0, SelRow = 1, SelCell = 2 };
    bool TableSelect(int part);
    int TableAtCaret() const;       // 0 outside tables
    int TableRowAtCaret() const;    // from 1, 0 outside
    int TableColumnAtCaret() const; // from 1, 0 outside
    int TableRows(int id) const;
    int TableColumns(int id) const;
    int TableCellStart(int row, int column, int id) const; // -1 when none
    QString TableCellText(int row, int column, int id) const;
    bool SetTableCellText(int row, int column, int id, const QString& text);
    int NextTable(int id) const; // tables of the active part in order, 0 ends
    struct TablePossible {
        bool insertTable = false;
        bool insertColumn = false;
        bool insertRow = false;
        bool deleteColumn = false;
        bool deleteRow = false;
        bool inTable = false;
        bool split = false;
    };
    TablePossible TablePossibilities() const;

    // --- Headers and footers ---
    int HeadFootMask() const;
    void SetHeadFootMask(int mask);  // new parts start empty; dropped ones are deleted
    bool HeadFootActivate(int part); // edit that header/footer (present ones only)
    void HeadFootDeactivate();       // back to the main text
    int HeadFootActive() const;      // part being edited, 0 none

    // --- Text frames (ids shared with images) ---
    // Inserts an empty frame at the given page position (twips; x < 0: at the
    // caret's page, left margin and caret line) and returns its id.
    int TextFrameInsert(int x, int y, int width, int height);
    int NextTextFrame(int id) const; // 0: first; 0 when no more
    bool TextFrameSelect(int id);    // edit that frame; 0 returns to the main text
    int TextFrameActive() const;
    bool TextFrameDelete(int id);

    // --- Images ---
    // Inserts an image file or image bytes at the caret with the given flow;
    // positioned images go at (x, y) twips on the caret's page (x < 0: at the
    // caret) with `distance` twips kept free around them. Returns the id, 0
    // when the image cannot be read.
    int ImageInsert(const QString& file, int flow, int x = -1, int y = -1, int scaleX = 100,
                    int scaleY = 100, int distance = 0);
    int ImageInsertBytes(const QByteArray& bytes, int flow, int x = -1, int y = -1,
                         int scaleX = 100, int scaleY = 100, int distance = 0);
    // Images of the active part (main text or the frame being edited) in
    // order: inline ones in text order, then positioned ones. 0 ends.
    int NextImage(int id) const;
    bool ImageDelete(int id);
    // Layout option of the current object: 1 the image is kept in the
    // document, 0 it refers to its file (the file name is kept with it).
    int ObjectLayout() const;
    void SetObjectLayout(int value);
    QString ObjectFileName(int id) const;
    // Export settings of an image (used by the HTML export): a value and a
    // second flag, kept with the image.
    int ImageExport(int id) const;
    void SetImageExport(int id, int value);
    int ImageExportFlag(int id) const;
    void SetImageExportFlag(int id, int value);

    // --- Pages: the same pagination serves the page view, printing and PDF ---
    int PageCount() const;
    // Whether page `page` (from 1) exists, laying the text out only that far:
    // cheaper than PageCount in a long document that is not laid out yet.
    bool HasPage(int page) const;
    // The pages as printed (PaintPage): hidden text is left out of them, so
    // there may be fewer than the screen's.
    int PrintPageCount() const;
    bool HasPrintPage(int page) const;
    // Paints page `page` (from 1) as printed, with its header, footer, frames
    // and images.
    // `scale` maps page pixels (15 twips) to painter units; the page's
    // top-left corner is the painter's origin.
    void PaintPage(QPainter& painter, int page, double scale) const;
    // Paints page `page` onto `device` at `zoom` percent of its real size
    // (device resolution honoured), top-left at the device origin.
    bool PaintPage(QPaintDevice* device, int page, int zoom = 100) const;

signals:
    void fieldClicked(int id);  // a click on a field
    void objectClicked(int id); // a click on an image or text frame
    void headFootActivated(int part);
    void textFrameActivated(int id);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;

private:
    friend class TxEngineState;
    std::unique_ptr<TxEngineState> d;
};

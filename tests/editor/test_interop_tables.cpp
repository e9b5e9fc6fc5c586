// A page with a table and a header and footer, made through the editor's
// commands, saved as .doc and read by LibreOffice: the same cells in the
// same rows, the formatted row's background and lines, and the header and
// footer texts.
#include "EditorFixture.h"
#include "Peers.h"
#include "TxTableDialog.h"
#include "sbTxmChoicePages.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QHash>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <QXmlStreamReader>

namespace {

const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kTable = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:table:1.0");
const QString kStyle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString kFo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");

struct Cell {
    QString text;
    QString style;
};

// What LibreOffice made of the page: the cells of its tables row by row,
// the cell styles' backgrounds and borders, the header and footer texts.
struct Read {
    QList<QList<QList<Cell>>> tables;
    QHash<QString, QString> background; // cell style -> fo:background-color
    QHash<QString, QString> border;     // cell style -> fo:border (or its top side)
    QString header, footer;
};

Read readFodt(const QString& fodt) {
    Read r;
    QXmlStreamReader x(fodt);
    QString style, part;
    int cellDepth = 0;
    while (!x.atEnd()) {
        x.readNext();
        const QString ns = x.namespaceUri().toString();
        const QString name = x.name().toString();
        if (x.isStartElement()) {
            const QXmlStreamAttributes a = x.attributes();
            if (ns == kStyle && name == QLatin1String("style")) {
                style = a.value(kStyle, QStringLiteral("name")).toString();
            } else if (ns == kStyle && name == QLatin1String("table-cell-properties")) {
                if (a.hasAttribute(kFo, QStringLiteral("background-color")))
                    r.background[style] =
                        a.value(kFo, QStringLiteral("background-color")).toString();
                for (const char* side : {"border", "border-top"})
                    if (a.hasAttribute(kFo, QString::fromLatin1(side)))
                        r.border[style] = a.value(kFo, QString::fromLatin1(side)).toString();
            } else if (ns == kStyle &&
                       (name == QLatin1String("header") || name == QLatin1String("footer"))) {
                part = name;
            } else if (ns == kTable && name == QLatin1String("table")) {
                r.tables.append(QList<QList<Cell>>());
            } else if (ns == kTable && name == QLatin1String("table-row")) {
                r.tables.last().append(QList<Cell>());
            } else if (ns == kTable && (name == QLatin1String("table-cell") ||
                                        name == QLatin1String("covered-table-cell"))) {
                r.tables.last().last().append(
                    {{}, a.value(kTable, QStringLiteral("style-name")).toString()});
                ++cellDepth;
            }
        } else if (x.isEndElement()) {
            if (ns == kStyle &&
                (name == QLatin1String("header") || name == QLatin1String("footer")))
                part.clear();
            else if (ns == kTable && (name == QLatin1String("table-cell") ||
                                      name == QLatin1String("covered-table-cell")))
                --cellDepth;
        } else if (x.isCharacters()) {
            if (cellDepth > 0 && !r.tables.isEmpty() && !r.tables.last().isEmpty())
                r.tables.last().last().last().text += x.text();
            else if (part == QLatin1String("header"))
                r.header += x.text();
            else if (part == QLatin1String("footer"))
                r.footer += x.text();
        }
    }
    return r;
}

} // namespace

TEST_F(EditorTest, LibreOfficeReadsTheTablesAndHeadersOfASavedPage) {
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    ScriptedPrompter p;
    uTxm& t = open();
    TxEngine& e = *t.mTxt;
    e.SetText(ctl(QStringLiteral("Report||End")));
    e.SetSelStart(7);

    // A 2 x 3 table from the table page, a row added below the first.
    p.answerDialog([](QDialog& d) {
        auto* page = d.findChild<TablePage*>();
        page->cbRows->setCurrentText(QStringLiteral("2"));
        page->cbCols->setCurrentText(QStringLiteral("3"));
        d.findChild<QPushButton*>(QStringLiteral("cmOk0"))->click();
        return true;
    });
    t.rtAct(80, QStringLiteral("表"));
    ASSERT_EQ(e.NextTable(0), 1);
    e.SetSelStart(e.TableCellStart(1, 1, 1));
    t.rtAct(80, QStringLiteral("下"));
    ASSERT_EQ(e.TableRows(1), 3);
    const QList<QStringList> cells = {
        {"Item", "Count", "Price"}, {"Apples", "12", "3.40"}, {"Pears", "7", "2.10"}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            e.SetTableCellText(r + 1, c + 1, 1, cells[r][c]);

    // The first row formatted: lines and a background.
    e.SetSelStart(e.TableCellStart(1, 2, 1));
    p.answerDialog([&p](QDialog& d) {
        auto& dlg = dynamic_cast<TxTableDialog&>(d);
        dlg.txBorder->setText(QStringLiteral("20"));
        dlg.chShade->setChecked(true);
        p.answerColor(QColor(0xcc, 0xdd, 0xee));
        dlg.cmShade->click();
        dlg.accept();
        return d.result() == QDialog::Accepted;
    });
    t.rtAct(85, QStringLiteral("行"));

    // A header typed over, and the footer's placeholder.
    t.rtAct(57, 1);
    ASSERT_TRUE(e.HeadFootActivate(1));
    e.SetSelStart(0);
    e.SetSelLength(-1);
    e.SetSelText(QStringLiteral("Quarterly report"));
    e.HeadFootDeactivate();
    t.rtAct(57, 4);

    const QString file = dir + QStringLiteral("/table.doc");
    t.rtAct(5, file);
    ASSERT_TRUE(QFile::exists(file));
    ASSERT_TRUE(peers::soffice({file}, QStringLiteral("fodt"), dir));
    QFile f(dir + QStringLiteral("/table.fodt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const Read r = readFodt(QString::fromUtf8(f.readAll()));

    ASSERT_EQ(r.tables.size(), 1);
    ASSERT_EQ(r.tables[0].size(), 3);
    for (int row = 0; row < 3; ++row) {
        QStringList got;
        for (const Cell& c : r.tables[0][row])
            got << c.text.trimmed();
        EXPECT_EQ(got, cells[row]) << row;
    }
    for (const Cell& c : r.tables[0][0]) {
        EXPECT_EQ(r.background.value(c.style), QStringLiteral("#ccddee")) << c.text.toStdString();
        EXPECT_TRUE(r.border.value(c.style).contains(QLatin1String("solid")))
            << c.text.toStdString() << " " << r.border.value(c.style).toStdString();
    }
    // The other rows keep the lines a new table is given, the added one too.
    for (int row = 1; row < 3; ++row)
        for (const Cell& c : r.tables[0][row]) {
            EXPECT_NE(r.background.value(c.style), QStringLiteral("#ccddee"))
                << c.text.toStdString();
            EXPECT_TRUE(r.border.value(c.style).contains(QLatin1String("solid")))
                << c.text.toStdString() << " " << r.border.value(c.style).toStdString();
        }
    EXPECT_EQ(r.header.trimmed(), QStringLiteral("Quarterly report"));
    EXPECT_EQ(r.footer.trimmed(), QStringLiteral("Footer"));
}

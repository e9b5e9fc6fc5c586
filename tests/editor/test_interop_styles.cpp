// A page written in the six styles, saved as .doc by the editor and read by
// LibreOffice: each paragraph has the size, weight and colour of its style.
#include "EditorFixture.h"
#include "Peers.h"
#include "TxText.h"

#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace {

const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kStyle = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:style:1.0");
const QString kFo = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:xsl-fo-compatible:1.0");

// The text colour of each body paragraph as LibreOffice wrote it: the
// colour of the first span, else of the paragraph's own style (its parents
// are not needed: the editor gives every styled run its colour).
QHash<QString, QString> paragraphColours(const QString& fodt) {
    QHash<QString, QString> colourOf; // style name -> "#rrggbb"
    QHash<QString, QString> out;      // paragraph text -> colour
    QXmlStreamReader x(fodt);
    QString style, text, span, para;
    int depth = 0;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement()) {
            const QXmlStreamAttributes a = x.attributes();
            if (x.namespaceUri() == kStyle && x.name() == QLatin1String("style"))
                style = a.value(kStyle, QStringLiteral("name")).toString();
            else if (x.namespaceUri() == kStyle && x.name() == QLatin1String("text-properties") &&
                     a.hasAttribute(kFo, QStringLiteral("color")))
                colourOf[style] = a.value(kFo, QStringLiteral("color")).toString().toLower();
            else if (x.namespaceUri() == kText &&
                     (x.name() == QLatin1String("p") || x.name() == QLatin1String("h"))) {
                para = a.value(kText, QStringLiteral("style-name")).toString();
                span.clear();
                text.clear();
                ++depth;
            } else if (depth && x.namespaceUri() == kText && x.name() == QLatin1String("span") &&
                       span.isEmpty() && text.isEmpty()) {
                span = a.value(kText, QStringLiteral("style-name")).toString();
            }
        } else if (x.isCharacters() && depth) {
            text += x.text();
        } else if (x.isEndElement() && x.namespaceUri() == kText &&
                   (x.name() == QLatin1String("p") || x.name() == QLatin1String("h")) && depth) {
            --depth;
            out[text.trimmed()] = colourOf.value(span, colourOf.value(para));
        }
    }
    return out;
}

QString hex(int bgr) {
    return QStringLiteral("#%1%2%3")
        .arg(bgr & 0xFF, 2, 16, QChar(u'0'))
        .arg((bgr >> 8) & 0xFF, 2, 16, QChar(u'0'))
        .arg((bgr >> 16) & 0xFF, 2, 16, QChar(u'0'));
}

} // namespace

TEST_F(EditorTest, LibreOfficeShowsTheStylesOfASavedPage) {
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    ScriptedPrompter p;
    uTxm& t = open();
    const QStringList paras = {QStringLiteral("Page heading"), QStringLiteral("Chapter"),
                               QStringLiteral("Section"),      QStringLiteral("Body text"),
                               QStringLiteral("Emphasis"),     QStringLiteral("Supplement")};
    t.mTxt->SetText(paras.join(TxText::kPara));
    int pos = 0;
    for (int s = 0; s < paras.size(); ++s) {
        t.mTxt->SetSelStart(pos + 1);
        t.rtAct(60, s);
        pos += int(paras[s].size()) + 1;
    }
    ASSERT_EQ(t.mTxt->Text(), paras.join(TxText::kPara));
    QString file = dir + QStringLiteral("/styled.doc");
    t.rtAct(5, file);
    ASSERT_TRUE(QFile::exists(file));

    ASSERT_TRUE(peers::soffice({file}, QStringLiteral("fodt"), dir));
    QFile f(dir + QStringLiteral("/styled.fodt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QString fodt = QString::fromUtf8(f.readAll());
    const QList<peers::ParagraphLook> looks = peers::paragraphLooks(fodt);
    const QHash<QString, QString> colours = paragraphColours(fodt);
    ASSERT_EQ(looks.size(), paras.size()) << peers::describe(looks).toStdString();
    for (int s = 0; s < paras.size(); ++s) {
        const UsrFmt& want = t.usrFmt[size_t(s)];
        EXPECT_EQ(looks[s].text, paras[s]);
        EXPECT_DOUBLE_EQ(looks[s].points, want.iSize) << paras[s].toStdString();
        EXPECT_EQ(looks[s].bold, want.iBold == 1) << paras[s].toStdString();
        const QString colour = colours.value(paras[s]);
        // Black body text may be written as the automatic colour.
        if (want.nFcr != 0 || !colour.isEmpty()) {
            EXPECT_EQ(colour, hex(want.nFcr)) << paras[s].toStdString();
        }
    }
}

// Link and tag markers in a page the editor saves as .doc, read by
// LibreOffice: each marker is a hyperlink with its caption and target.
#include "EditorFixture.h"
#include "Peers.h"
#include "TxText.h"
#include "sbTxm.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QXmlStreamReader>

namespace {

const QString kText = QStringLiteral("urn:oasis:names:tc:opendocument:xmlns:text:1.0");
const QString kXlink = QStringLiteral("http://www.w3.org/1999/xlink");

// Every hyperlink of a flat ODF text: its text, a tab, its target.
QStringList hyperlinks(const QString& fodt) {
    QStringList out;
    QXmlStreamReader x(fodt);
    int depth = 0;
    QString text, href;
    while (!x.atEnd()) {
        x.readNext();
        if (x.isStartElement() && x.namespaceUri() == kText && x.name() == QLatin1String("a")) {
            ++depth;
            href = x.attributes().value(kXlink, QStringLiteral("href")).toString();
            text.clear();
        } else if (x.isCharacters() && depth) {
            text += x.text();
        } else if (x.isEndElement() && x.namespaceUri() == kText &&
                   x.name() == QLatin1String("a")) {
            --depth;
            out << text + u'\t' + href;
        }
    }
    return out;
}

} // namespace

TEST_F(EditorTest, LibreOfficeReadsSavedMarkersAsHyperlinks) {
    if (QStandardPaths::findExecutable(QStringLiteral("soffice")).isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    ScriptedPrompter p;
    uTxm& t = open(-2);
    QObject::connect(&t, &uTxm::eAskTag, [](QString& sNo, QString& sCap) {
        sNo = QStringLiteral("42");
        sCap = QStringLiteral("Page 42");
    });
    t.mTxt->SetText(QStringLiteral("Title") + TxText::kPara + QStringLiteral("site and "));
    t.mTxt->SetSelStart(6);
    t.mTxt->SetSelLength(4);
    sbTxm& own = *t.Dialog();
    p.answerDialog([&own](QDialog&) {
        own.setResult(0);
        auto* target = own.findChild<QLineEdit*>(QStringLiteral("txLnk0"));
        if (!target)
            return false;
        target->setText(QStringLiteral("https://example.org/a?b=1"));
        own.findChild<QPushButton*>(QStringLiteral("cmOk0"))->click();
        return own.result() == QDialog::Accepted;
    });
    t.rtAct(50);
    t.mTxt->SetSelStart(int(t.mTxt->Text().size()));
    t.rtAct(51);
    ASSERT_NE(t.mTxt->NextField(0, t.mTxt->NextField(0, 0)), 0);
    QString file = dir + QStringLiteral("/marked.doc");
    ASSERT_TRUE(t.txSaveAs(file));

    ASSERT_TRUE(peers::soffice({file}, QStringLiteral("fodt"), dir));
    QFile f(dir + QStringLiteral("/marked.fodt"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QStringList links = hyperlinks(QString::fromUtf8(f.readAll()));
    EXPECT_EQ(links, (QStringList{QStringLiteral("site\thttps://example.org/a?b=1"),
                                  QStringLiteral("Page 42\tTG_42")}));
}

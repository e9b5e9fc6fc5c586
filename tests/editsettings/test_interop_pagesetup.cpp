// Pages written by LibreOffice: their A4 (11906 x 16838 twips, not the
// paper table's 11900) opens as A4 in the page setup, upright and sideways,
// and OK without a change keeps the size LibreOffice wrote.

#include "DialogFixture.h"
#include "PageSetupPage.h"
#include "Peers.h"

#include <QComboBox>
#include <QRadioButton>

namespace {

struct Made {
    const char* name;
    const char* rtf;
    bool landscape;
};

} // namespace

TEST_F(DialogTest, PagesFromLibreOfficeOpenAsTheirPaper) {
    const Made made[] = {
        {"portrait",
         "{\\rtf1\\ansi\\paperw11906\\paperh16838\\margl1134\\margr1134 \\pard A4\\par}", false},
        {"landscape",
         "{\\rtf1\\ansi\\paperw16838\\paperh11906\\landscape\\margl1134\\margr1134 \\pard "
         "A4\\par}",
         true},
    };
    const QString dir = TestEnv::freshDir(QStringLiteral("lo_pages"));
    QStringList sources;
    for (const Made& m : made) {
        sources << dir + "/" + m.name + ".rtf";
        TestEnv::writeFile(sources.last(), QByteArray(m.rtf));
    }
    ASSERT_TRUE(peers::soffice(sources, "doc:MS Word 97", dir));
    for (const Made& m : made) {
        SCOPED_TRACE(m.name);
        ASSERT_TRUE(ed->mTxt->LoadFile(dir + "/" + m.name + ".doc", TxEngine::FmtDoc))
            << ed->mTxt->LastError().toStdString();
        const int width = ed->mTxt->PageWidth();
        const int height = ed->mTxt->PageHeight();
        // What LibreOffice writes for A4, give or take a twip.
        EXPECT_NEAR(m.landscape ? height : width, 11906, 2);
        EXPECT_NEAR(m.landscape ? width : height, 16838, 2);
        act("PG", [&](sbTxm& d) {
            auto& p = *static_cast<PageSetupPage*>(d.Page("PG"));
            EXPECT_EQ(p.cbPage->currentText(), QStringLiteral("A4   210 * 297 mm"));
            EXPECT_EQ(p.OpVH[1]->isChecked(), m.landscape);
            okButton()->click();
        });
        EXPECT_EQ(ed->mTxt->PageWidth(), width);
        EXPECT_EQ(ed->mTxt->PageHeight(), height);
    }
}

// Link and tag markers in the editor control: inserting them through the
// link page and the host's tag answer, what cancelling leaves, following a
// click, removing them, the data-field placeholder, markers on pictures and
// markers in a saved .doc.
#include "EditorFixture.h"

#include "LinkPage.h"
#include "TxStyles.h"
#include "sbTxm.h"
#include "sbTxmMenus.h"

#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>

#include <optional>

namespace {

// The next link page is answered with `target` (and `caption` when given)
// and OK; `ok` false cancels it instead.
void answerLink(ScriptedPrompter& p, uTxm& t, const QString& target,
                std::optional<QString> caption = {}, bool ok = true) {
    sbTxm& own = *t.Dialog();
    p.answerDialog([&own, target, caption, ok](QDialog&) {
        own.setResult(0);
        auto& page = *static_cast<LinkPage*>(own.Page("LK"));
        page.txLnk[0]->setText(target);
        if (caption)
            page.txLnk[1]->setText(*caption);
        if (ok)
            own.findChild<QPushButton*>(QStringLiteral("cmOk0"))->click();
        return ok && own.result() == QDialog::Accepted;
    });
}

// Makes [from, from + length) a link to `target` through command 50.
void linkText(ScriptedPrompter& p, uTxm& t, int from, int length, const QString& target) {
    t.mTxt->SetSelStart(from);
    t.mTxt->SetSelLength(length);
    answerLink(p, t, target);
    t.rtAct(50);
}

struct Look {
    quint32 fore = 0;
    bool underline = false;
    double size = 0;
    QString font;
};

// The look of the character at `pos` (the selection is moved).
Look lookAt(TxEngine* tx, int pos) {
    tx->SetSelStart(pos);
    tx->SetSelLength(1);
    Look l{tx->ForeColor() & 0xFFFFFF, tx->FontUnderline(), tx->FontSize(), tx->FontName()};
    tx->SetSelStart(pos);
    return l;
}

struct Mark {
    QString caption;
    QString target;
    int type = 0;
    int option = 0;
    bool operator==(const Mark&) const = default;
};

QList<Mark> marks(TxEngine* tx) {
    QList<Mark> out;
    const int keep = tx->CurField();
    for (int id = tx->NextField(0, 0); id; id = tx->NextField(0, id)) {
        tx->SetCurField(id);
        out.append({tx->FieldText(), tx->FieldTarget(id), tx->FieldType(id), tx->FieldOption(id)});
    }
    tx->SetCurField(keep);
    return out;
}

} // namespace

TEST_F(EditorTest, LinkOnTextThenTypingIsBodyText) {
    ScriptedPrompter p;
    uTxm& t = open();
    // Not the first line: focus there makes it the page heading.
    t.mTxt->SetText(ctl(QStringLiteral("Title|see here|next")));
    t.mTxt->SetSelStart(10);
    t.mTxt->SetSelLength(5); // "here" and the paragraph end
    t.SetDcEdt(false);
    answerLink(p, t, QStringLiteral("https://example.org/a_b"));
    t.rtAct(50);
    // The caret stands after the marker; what is typed there is body text.
    EXPECT_EQ(t.mTxt->SelStart(), 14);
    EXPECT_EQ(t.mTxt->SelLength(), 0);
    type(QStringLiteral("ly"));

    ASSERT_EQ(marks(t.mTxt), (QList<Mark>{{QStringLiteral("here"),
                                           QStringLiteral("https://example.org/a_b"), 1, 149}}));
    EXPECT_EQ(t.mTxt->Text(), ctl(QStringLiteral("Title|see herely|next")));
    EXPECT_TRUE(t.bDcEdt());
    // The link has the header record's size in the link colour, underlined.
    const Look link = lookAt(t.mTxt, 11);
    EXPECT_EQ(link.fore, TxStyle::MarkerColor(6));
    EXPECT_TRUE(link.underline);
    EXPECT_DOUBLE_EQ(link.size, t.usrFmt[6].iSize);
    const Look typed = lookAt(t.mTxt, 14);
    EXPECT_FALSE(typed.underline);
    EXPECT_EQ(typed.fore, quint32(t.usrFmt[3].nFcr) & 0xFFFFFF);
    EXPECT_DOUBLE_EQ(typed.size, t.usrFmt[3].iSize);
    EXPECT_EQ(typed.font, t.usrFmt[3].sFont);
}

TEST_F(EditorTest, CancelledOrEmptyLinkLeavesThePageAsItWas) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("plain words"));
    t.SetDcEdt(false);
    const QByteArray before = t.mTxt->SaveBytes(TxEngine::FmtNative);

    // No target: the page refuses OK, the user gives up.
    t.mTxt->SetSelStart(0);
    t.mTxt->SetSelLength(5);
    answerLink(p, t, QString());
    t.rtAct(50);
    // No caption on plain text (nothing selected).
    t.mTxt->SetSelStart(6);
    answerLink(p, t, QStringLiteral("https://example.org/"), QString());
    t.rtAct(50);
    // Cancel.
    t.mTxt->SetSelStart(0);
    t.mTxt->SetSelLength(5);
    answerLink(p, t, QStringLiteral("https://example.org/"), {}, false);
    t.rtAct(50);
    // Edit and remove with no marker at the selection.
    t.rtAct(50, 1);
    t.rtAct(50, 2);

    EXPECT_EQ(t.mTxt->SaveBytes(TxEngine::FmtNative), before);
    EXPECT_FALSE(t.bDcEdt());
    EXPECT_FALSE(t.bSnap) << "a command that did nothing left an undo step";
    EXPECT_TRUE(marks(t.mTxt).isEmpty());
    EXPECT_TRUE(p.messages().contains(QStringLiteral("ﾘﾝｸ先が指定されていません")));
}

TEST_F(EditorTest, LinkEditedAndRemoved) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("go to the site now"));
    linkText(p, t, 10, 4, QStringLiteral("http://a.example/"));
    // Edit from inside the caption.
    t.mTxt->SetSelStart(11);
    QString offered;
    {
        sbTxm& own = *t.Dialog();
        p.answerDialog([&](QDialog&) {
            own.setResult(0);
            auto& page = *static_cast<LinkPage*>(own.Page("LK"));
            offered = page.txLnk[0]->text() + u'|' + page.txLnk[1]->text();
            page.txLnk[0]->setText(QStringLiteral("mailto:a@example.org"));
            page.txLnk[1]->setText(QStringLiteral("mail"));
            own.findChild<QPushButton*>(QStringLiteral("cmOk0"))->click();
            return own.result() == QDialog::Accepted;
        });
    }
    t.rtAct(50, 1);
    EXPECT_EQ(offered, QStringLiteral("http://a.example/|site"));
    EXPECT_EQ(marks(t.mTxt), (QList<Mark>{{QStringLiteral("mail"),
                                           QStringLiteral("mailto:a@example.org"), 1, 149}}));
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("go to the mail now"));

    // Removing keeps the text, which reads as body text again.
    t.SetDcEdt(false);
    t.mTxt->SetSelStart(12);
    t.rtAct(50, 2);
    EXPECT_TRUE(marks(t.mTxt).isEmpty());
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("go to the mail now"));
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_FALSE(lookAt(t.mTxt, 11).underline);

    // DelMrk without the text takes the caption away.
    linkText(p, t, 10, 4, QStringLiteral("http://b.example/"));
    t.mTxt->SetSelStart(11);
    EXPECT_TRUE(t.DelMrk(false));
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("go to the  now"));
    EXPECT_FALSE(t.DelMrk(false)) << "no marker left to remove";
}

TEST_F(EditorTest, TagsOnlyInThePageEditorAndOnlyWithAPageNumber) {
    ScriptedPrompter p;
    QStringList answers;
    int asked = 0;
    auto connectHost = [&](uTxm& t) {
        QObject::connect(&t, &uTxm::eAskTag, [&](QString& sNo, QString& sCap) {
            ++asked;
            EXPECT_TRUE(sNo.isEmpty());
            EXPECT_TRUE(sCap.isEmpty());
            sNo = answers.value(0);
            sCap = answers.value(1);
            answers = answers.mid(2);
        });
    };
    // The main window's editor type: the command does nothing at all.
    {
        uTxm& t = open(1);
        connectHost(t);
        t.mTxt->SetText(QStringLiteral("see also"));
        t.mTxt->SetSelStart(4);
        t.mTxt->SetSelLength(4);
        t.SetDcEdt(false);
        t.rtAct(51);
        EXPECT_EQ(asked, 0);
        EXPECT_FALSE(t.bDcEdt()) << "a refused tag marked the page modified";
        EXPECT_FALSE(t.bSnap);
        EXPECT_TRUE(marks(t.mTxt).isEmpty());
    }
    uTxm& t = open(-2);
    connectHost(t);
    t.mTxt->SetText(QStringLiteral("see also"));
    t.SetDcEdt(false);
    // Page 0, no number, a negative number, a blank caption: cancelled.
    answers = {QStringLiteral("0"),   QStringLiteral("Top"), QStringLiteral("twelve"),
               QStringLiteral("Top"), QStringLiteral("-3"),  QStringLiteral("Top"),
               QStringLiteral("12"),  QStringLiteral("  ")};
    for (int i = 0; i < 4; ++i) {
        t.mTxt->SetSelStart(4);
        int mode = 0;
        EXPECT_FALSE(t.InsTag(mode)) << i;
        EXPECT_EQ(mode, -1) << i;
        t.rtAct(51);
    }
    EXPECT_EQ(asked, 8);
    EXPECT_FALSE(t.bDcEdt());
    EXPECT_TRUE(marks(t.mTxt).isEmpty());
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("see also"));

    // A page number and a caption: the tag marker, then body text.
    answers = {QStringLiteral(" 12 "), QStringLiteral(" Chapter two ")};
    t.mTxt->SetSelStart(4);
    t.rtAct(51);
    type(QStringLiteral("!"));
    EXPECT_EQ(marks(t.mTxt),
              (QList<Mark>{{QStringLiteral("Chapter two"), QStringLiteral("TG_12"), 2, 149}}));
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("see Chapter two!also"));
    EXPECT_TRUE(t.bDcEdt());
    const Look tag = lookAt(t.mTxt, 5);
    EXPECT_EQ(tag.fore, TxStyle::MarkerColor(7));
    EXPECT_TRUE(tag.underline);
    EXPECT_DOUBLE_EQ(tag.size, t.usrFmt[7].iSize);
    EXPECT_FALSE(lookAt(t.mTxt, 15).underline);
    QString kind, value;
    t.GetMrk(t.mTxt->NextField(0, 0), kind, value);
    EXPECT_EQ(kind + u'/' + value, QStringLiteral("TG/12"));
    t.GetMrk(0, kind, value);
    EXPECT_TRUE(kind.isEmpty() && value.isEmpty());
}

TEST_F(EditorTest, ClickedMarkersRaiseTheirKindAndValue) {
    ScriptedPrompter p;
    uTxm& t = open();
    struct Case {
        QString caption, target;
    };
    const QList<Case> cases = {
        {QStringLiteral("twelve"), QStringLiteral("tg_12")},
        {QStringLiteral("A twelve"), QStringLiteral("TG_A_12")},
        {QStringLiteral("web"), QStringLiteral("https://example.org/x_y")},
        {QStringLiteral("anchor"), QStringLiteral("TP_top")},
        {QStringLiteral("index"), QStringLiteral("dx_word")},
        {QStringLiteral(" ") + QChar(11) + QStringLiteral(" "), QStringLiteral("http://blank/")},
        {QStringLiteral("nowhere"), QStringLiteral("TG_")},
    };
    QList<int> ids;
    for (const Case& c : cases) {
        t.mTxt->SetSelStart(int(t.mTxt->Text().size()));
        const int id = t.mTxt->FieldInsert(c.caption);
        t.mTxt->SetFieldTarget(id, c.target);
        ids << id;
        t.mTxt->SetSelStart(int(t.mTxt->Text().size()));
        t.mTxt->SetSelText(QStringLiteral(" - "));
    }
    QStringList got;
    QObject::connect(&t, &uTxm::eClckLink,
                     [&](QString& k, QString& c, QString& v) { got << k + u'|' + c + u'|' + v; });
    for (int id : ids)
        emit t.mTxt->fieldClicked(id);
    EXPECT_EQ(got, (QStringList{QStringLiteral("TG|twelve|12"), QStringLiteral("TG|A twelve|12"),
                                QStringLiteral("LK|web|https://example.org/x_y")}));
}

TEST_F(EditorTest, DataFieldPlaceholderAndBack) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(QStringLiteral("Dear , see link"));
    linkText(p, t, 11, 4, QStringLiteral("http://l/"));
    t.SetDcEdt(false);
    t.mTxt->SetSelStart(5);
    t.rtAct(56, 1);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("Dear [FD], see link"));
    EXPECT_TRUE(t.bDcEdt());
    const QList<Mark> m = marks(t.mTxt);
    ASSERT_EQ(m.size(), 2);
    EXPECT_EQ(m[0], (Mark{QStringLiteral("[FD]"), QStringLiteral("@"), 1, 149}));

    // Back to plain "@"; a link at the selection is no placeholder.
    t.mTxt->SetSelStart(16);
    t.rtAct(56, 0);
    EXPECT_EQ(marks(t.mTxt).size(), 2);
    t.mTxt->SetSelStart(6);
    t.rtAct(56, 0);
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("Dear @, see link"));
    EXPECT_EQ(marks(t.mTxt).size(), 1);
    EXPECT_EQ(marks(t.mTxt)[0].target, QStringLiteral("http://l/"));
}

namespace {
// A small inline picture at `pos`; its object id.
int pictureAt(uTxm& t, const QString& dir, int pos) {
    const QString png = dir + QStringLiteral("/dot.png");
    QImage img(8, 8, QImage::Format_RGB32);
    img.fill(Qt::red);
    img.save(png);
    t.mTxt->SetSelStart(pos);
    return t.mTxt->ImageInsert(png, 0);
}
} // namespace

TEST_F(EditorTest, MarkersOnAPictureAreCopiedAndRemovedAroundIt) {
    ScriptedPrompter p;
    uTxm& t = open(-2);
    QObject::connect(&t, &uTxm::eAskTag, [](QString& sNo, QString& sCap) {
        sNo = QStringLiteral("7");
        sCap = QStringLiteral("tag");
    });
    t.mTxt->SetText(QStringLiteral("link  tag"));
    const int pic = pictureAt(t, dir, 5);
    ASSERT_NE(pic, 0);
    ASSERT_EQ(t.mTxt->Text(), QStringLiteral("link \x01 tag"));
    linkText(p, t, 0, 4, QStringLiteral("http://before/"));
    t.mTxt->SetSelStart(7);
    t.mTxt->SetSelLength(3);
    t.rtAct(51);
    const int link = t.mTxt->NextField(0, 0);
    const int tag = t.mTxt->NextField(0, link);
    ASSERT_NE(tag, 0);

    // A click on the picture selects it for its menu.
    t.mTxt->SetSelStart(0);
    emit t.mTxt->objectClicked(pic);
    ASSERT_EQ(t.mTxt->CurObject(), pic);
    const uTxm::NearMarkers near = t.MarkersAroundObject();
    EXPECT_EQ(near.before, link);
    EXPECT_EQ(near.after, tag);
    // A link field is no tag to copy.
    EXPECT_FALSE(t.MenuMarker(51, 0, true, near.before));

    t.SetDcEdt(false);
    EXPECT_TRUE(t.MenuMarker(50, 0, true, near.before));
    EXPECT_TRUE(t.bDcEdt());
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("link  \x01  tag"));
    QList<Mark> m = marks(t.mTxt);
    ASSERT_EQ(m.size(), 3);
    EXPECT_EQ(m[1], (Mark{QStringLiteral(" \x01 "), QStringLiteral("http://before/"), 1, 149}));

    // Removing it (with or without its text) keeps the picture.
    t.mTxt->SetCurObject(pic);
    EXPECT_TRUE(t.MenuMarker(50, 2, true));
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("link \x01 tag"));
    EXPECT_EQ(marks(t.mTxt).size(), 2);

    t.mTxt->SetCurObject(pic);
    EXPECT_TRUE(t.MenuMarker(51, 0, true, near.after));
    m = marks(t.mTxt);
    ASSERT_EQ(m.size(), 3);
    EXPECT_EQ(m[1], (Mark{QStringLiteral(" \x01 "), QStringLiteral("TG_7"), 2, 149}));
    t.mTxt->SetCurObject(pic);
    EXPECT_TRUE(t.DelMrk(false));
    EXPECT_EQ(t.mTxt->Text(), QStringLiteral("link \x01 tag"));
    EXPECT_NE(t.mTxt->NextImage(0), 0);
}

TEST_F(EditorTest, MarkersSurviveADocFile) {
    ScriptedPrompter p;
    uTxm& t = open(-2);
    QObject::connect(&t, &uTxm::eAskTag, [](QString& sNo, QString& sCap) {
        sNo = QStringLiteral("42");
        sCap = QStringLiteral("Page 42");
    });
    t.mTxt->SetText(ctl(QStringLiteral("Title|web and page")));
    linkText(p, t, 6, 3, QStringLiteral("https://example.org/a?b=1"));
    t.mTxt->SetSelStart(int(t.mTxt->Text().size()));
    t.rtAct(51);
    const QList<Mark> saved = marks(t.mTxt);
    ASSERT_EQ(saved.size(), 2);
    const QString file = dir + QStringLiteral("/marks.doc");
    QString f = file;
    ASSERT_TRUE(t.txSaveAs(f));

    uTxm& u = open(1);
    ASSERT_TRUE(u.LoadFl(file, false));
    const QList<Mark> loaded = marks(u.mTxt);
    ASSERT_EQ(loaded.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(loaded[i].caption, saved[i].caption) << i;
        EXPECT_EQ(loaded[i].target, saved[i].target) << i;
        EXPECT_EQ(loaded[i].type, saved[i].type) << i;
    }
    // Still followed as they were.
    QStringList got;
    QObject::connect(&u, &uTxm::eClckLink,
                     [&](QString& k, QString&, QString& v) { got << k + u'|' + v; });
    for (int id = u.mTxt->NextField(0, 0); id; id = u.mTxt->NextField(0, id))
        emit u.mTxt->fieldClicked(id);
    EXPECT_EQ(got, (QStringList{QStringLiteral("LK|https://example.org/a?b=1"),
                                QStringLiteral("TG|42")}));
}

TEST_F(EditorTest, ObjectMenuOffersTheNeighbouringMarkers) {
    ScriptedPrompter p;
    uTxm& t = open(-2);
    QObject::connect(&t, &uTxm::eAskTag, [](QString& sNo, QString& sCap) {
        sNo = QStringLiteral("7");
        sCap = QStringLiteral("tag");
    });
    t.mTxt->SetText(QStringLiteral("link  tag"));
    const int pic = pictureAt(t, dir, 5);
    linkText(p, t, 0, 4, QStringLiteral("http://before/"));
    t.mTxt->SetSelStart(7);
    t.mTxt->SetSelLength(3);
    t.rtAct(51);
    sbTxmMenus& menus = t.Dialog()->Menus();

    t.mTxt->SetCurObject(pic);
    menus.Update();
    EXPECT_EQ(menus.CopyBeforeItem()->text(), QStringLiteral("直前のﾘﾝｸを複写"));
    EXPECT_EQ(menus.CopyAfterItem()->text(), QStringLiteral("直後のﾀｸﾞを複写"));
    EXPECT_TRUE(menus.CopyBeforeItem()->isVisible() && menus.CopyAfterItem()->isVisible());
    // New link and tag on the bare picture; nothing to edit or remove.
    QList<bool> enabled;
    for (int i = 0; i < 6; ++i)
        enabled << menus.ObjectMarkerItem(i)->isEnabled();
    EXPECT_EQ(enabled, (QList<bool>{true, false, false, true, false, false}));

    // With a link on it: edit and remove the link, no copies.
    EXPECT_TRUE(t.MenuMarker(50, 0, true, t.MarkersAroundObject().before));
    t.mTxt->SetCurObject(pic);
    menus.Update();
    enabled.clear();
    for (int i = 0; i < 6; ++i)
        enabled << menus.ObjectMarkerItem(i)->isEnabled();
    EXPECT_EQ(enabled, (QList<bool>{false, true, true, false, false, false}));
    EXPECT_FALSE(menus.CopyBeforeItem()->isVisible());

    // In the main window's editor there are no tags to offer.
    EXPECT_TRUE(t.MenuMarker(50, 2, true));
    t.cTyp(1);
    t.mTxt->SetCurObject(pic);
    menus.Update();
    EXPECT_TRUE(menus.CopyBeforeItem()->isVisible());
    EXPECT_FALSE(menus.CopyAfterItem()->isVisible());
    EXPECT_FALSE(menus.ObjectMarkerItem(3)->isVisible());
}

TEST_F(EditorTest, StylesAndTidyGiveMarkersTheirLookBack) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(ctl(QStringLiteral("Title|one link here|two tag there")));
    linkText(p, t, 10, 4, QStringLiteral("http://l/"));
    t.mTxt->SetSelStart(24);
    const int tag = t.mTxt->FieldInsert(QStringLiteral("tag"));
    t.mTxt->SetFieldTarget(tag, QStringLiteral("TG_3"));
    // Emphasis over both paragraphs: the markers keep marker colours,
    // underlined, in the body size; the text around takes the style.
    t.mTxt->SetSelStart(8);
    t.mTxt->SetSelLength(22);
    t.rtAct(60, 4);
    const Look link = lookAt(t.mTxt, 11);
    EXPECT_EQ(link.fore, TxStyle::MarkerColor(6));
    EXPECT_TRUE(link.underline);
    EXPECT_DOUBLE_EQ(link.size, t.usrFmt[3].iSize);
    EXPECT_EQ(lookAt(t.mTxt, 25).fore, TxStyle::MarkerColor(7));
    EXPECT_EQ(lookAt(t.mTxt, 7).fore, quint32(t.usrFmt[4].nFcr) & 0xFFFFFF);
    // Lost looks come back with tidying.
    t.mTxt->SetSelStart(10);
    t.mTxt->SetSelLength(4);
    t.mTxt->SetFontUnderline(false);
    t.mTxt->SetForeColor(0);
    t.mTxt->SetSelStart(0);
    t.rtAct(24);
    EXPECT_TRUE(lookAt(t.mTxt, 11).underline);
    EXPECT_EQ(lookAt(t.mTxt, 11).fore, TxStyle::MarkerColor(6));
}

TEST_F(EditorTest, LinkOverTextWithAPictureKeepsThePicture) {
    ScriptedPrompter p;
    uTxm& t = open();
    t.mTxt->SetText(ctl(QStringLiteral("Title|one  two")));
    ASSERT_NE(pictureAt(t, dir, 10), 0);
    linkText(p, t, 6, 9, QStringLiteral("http://p/"));
    EXPECT_EQ(t.mTxt->Text(), ctl(QStringLiteral("Title|one \x01 two")));
    EXPECT_EQ(marks(t.mTxt),
              (QList<Mark>{{QStringLiteral("one \x01 two"), QStringLiteral("http://p/"), 1, 149}}));
    EXPECT_NE(t.mTxt->NextImage(0), 0);
    EXPECT_TRUE(lookAt(t.mTxt, 13).underline);
}

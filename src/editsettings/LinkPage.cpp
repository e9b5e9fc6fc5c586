// The link target page: caption and target, the file and favourites
// buttons, the browser button and the checks of OK.
#include "LinkPage.h"

#include "Prompter.h"
#include "TextCodec.h"
#include "Usr.h"
#include "sbTxmAnswers.h"
#include "yIni.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>

LinkPage::LinkPage(uTxm* editor, QWidget* parent) : sbTxmPage(editor, parent) {
    auto* grid = new QGridLayout(this);
    txLnk[0] = new QLineEdit(this);
    txLnk[1] = new QLineEdit(this);
    for (int i = 0; i < 2; ++i)
        txLnk[i]->setObjectName(QStringLiteral("txLnk%1").arg(i));
    chLnkHg = new QCheckBox(QStringLiteral("SelText"), this);
    chLnkHg->setObjectName(QStringLiteral("chLnkHg"));
    const QString captions[3] = {QStringLiteral("ﾌｧｲﾙを参照します"),
                                 QStringLiteral("お気に入りから URLを参照します"),
                                 QStringLiteral("IEの検索ﾍﾟｰｼﾞから指定")};
    for (int i = 0; i < 3; ++i) {
        cmLnk[i] = new QPushButton(captions[i], this);
        cmLnk[i]->setObjectName(QStringLiteral("cmLnk%1").arg(i));
        cmLnk[i]->setAutoDefault(false);
    }
    lbMsg = new QLabel(this);
    lbMsg->setObjectName(QStringLiteral("lbMsg"));

    grid->addWidget(new QLabel(QStringLiteral("ﾘﾝｸ先"), this), 0, 0);
    grid->addWidget(txLnk[0], 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("ｷｬﾌﾟｼｮﾝ"), this), 1, 0);
    grid->addWidget(txLnk[1], 1, 1, 1, 2);
    grid->addWidget(chLnkHg, 1, 3);
    for (int i = 0; i < 3; ++i)
        grid->addWidget(cmLnk[i], 2, i + 1);
    grid->addWidget(lbMsg, 3, 0, 1, 4);
    grid->setColumnStretch(1, 1);

    connect(chLnkHg, &QCheckBox::toggled, this, [this] { showCaption(); });
    connect(cmLnk[0], &QPushButton::clicked, this, &LinkPage::BrowseFile);
    connect(cmLnk[1], &QPushButton::clicked, this, &LinkPage::BrowseFavorite);
    connect(cmLnk[2], &QPushButton::clicked, this, &LinkPage::OpenBrowser);
}

void LinkPage::open(const QString& sJb, const QString& sArg) {
    bObj_ = sJb == QLatin1String("LK_OBJ");
    const TxmAns::Link l = TxmAns::ReadLink(sArg);
    sCap_ = bObj_ ? QStringLiteral(" ") : l.caption;
    txLnk[0]->setText(l.target);
    // The caption row is shown for plain links only.
    for (QWidget* w : {static_cast<QWidget*>(txLnk[1]), static_cast<QWidget*>(chLnkHg)})
        w->setVisible(!bObj_);
    {
        const QSignalBlocker block(chLnkHg);
        chLnkHg->setChecked(!l.caption.isEmpty() && !bObj_);
        chLnkHg->setEnabled(!l.caption.isEmpty() && !bObj_);
    }
    showCaption();
    if (bObj_)
        txLnk[1]->setEnabled(false);
    lbMsg->setText(txLnk[1]->isEnabled() ? QStringLiteral("ﾘﾝｸ先を指定して下さい") : QString());
    txLnk[0]->setFocus();
}

// With "SelText" the caption is the text passed in (not editable);
// without it, the name of the document last chosen, editable.
void LinkPage::showCaption() {
    if (bObj_) {
        txLnk[1]->setText(sCap_);
        return;
    }
    const bool sel = chLnkHg->isChecked();
    txLnk[1]->setText(sel ? sCap_ : sDocNm_);
    txLnk[1]->setEnabled(!sel);
}

bool LinkPage::ok() {
    const QString target = txLnk[0]->text().trimmed();
    const QString caption = txLnk[1]->text().trimmed();
    Prompter& ask = Prompter::instance();
    if (target.isEmpty()) {
        ask.message(QStringLiteral("ﾘﾝｸ先が指定されていません"));
        txLnk[0]->setFocus();
        return false;
    }
    if (caption.isEmpty() && txLnk[1]->isEnabled()) {
        ask.message(QStringLiteral("ｷｬﾌﾟｼｮﾝが指定されていません"));
        txLnk[1]->setFocus();
        return false;
    }
    emit answered(TxmAns::LinkText({caption, target}));
    return true;
}

void LinkPage::cancel() {
    emit answered(QString());
}

void LinkPage::BrowseFile() {
    const QString start = !sLastFl_.isEmpty() ? QFileInfo(sLastFl_).absolutePath()
                                              : Usr::sUsrFd + QStringLiteral("Site/");
    const QString file = Prompter::instance().openFile(QStringLiteral("ﾘﾝｸ先のﾄﾞｷｭﾒﾝﾄ"), QString(),
                                                       QStringLiteral("全てのﾌｧｲﾙ|*.*"), start);
    if (file.isEmpty())
        return;
    sLastFl_ = file;
    txLnk[0]->setText(file);
    sDocNm_ = QFileInfo(file).completeBaseName();
    showCaption();
}

void LinkPage::BrowseFavorite() {
    const QString file =
        Prompter::instance().openFile(QStringLiteral("お気に入り"), QString(),
                                      QStringLiteral("ｲﾝﾀｰﾈｯﾄｼｮｰﾄｶｯﾄ|*.url"), yIni::FsGtSpFld(6));
    if (file.isEmpty())
        return;
    const QString url = ReadUrlFile(file);
    if (!url.isEmpty())
        txLnk[0]->setText(url);
    sDocNm_ = QFileInfo(file).completeBaseName();
    showCaption();
}

QString LinkPage::ReadUrlFile(const QString& sFile) {
    QFile f(sFile);
    // Shortcut files are small; anything far larger is not one.
    if (f.size() > (1 << 20) || !f.open(QIODevice::ReadOnly))
        return {};
    const QString text = TextCodec::fromUtf8OrCp932(f.readAll());
    for (QString line : text.split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.startsWith(QLatin1String("URL="), Qt::CaseInsensitive))
            return line.mid(4).trimmed();
    }
    return {};
}

QString LinkPage::SearchPage() {
    return QStringLiteral("https://www.google.co.jp/");
}

// The user finds the page in the browser and copies its address into the
// target field.
void LinkPage::OpenBrowser() {
    QDesktopServices::openUrl(QUrl(SearchPage()));
}

#include "sbWmf.h"

#include "Prompter.h"
#include "Usr.h"
#include "sbWmfLayout.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QPushButton>
#include <QScreen>

namespace {

constexpr int kTw = Usr::kTwipsPerPixel;
constexpr int kDotsPerMeter96 = 3780;

QRect toTwips(const QRect& px) {
    return QRect(px.x() * kTw, px.y() * kTw, px.width() * kTw, px.height() * kTw);
}
QRect toPixels(const QRect& tw) {
    return QRect(tw.x() / kTw, tw.y() / kTw, std::max(1, tw.width() / kTw),
                 std::max(1, tw.height() / kTw));
}

QRect workAreaTwips() {
    if (Usr::nWaWid > 0 && Usr::nWaHgt > 0)
        return QRect(Usr::nWaLft, Usr::nWaTop, Usr::nWaWid, Usr::nWaHgt);
    if (const QScreen* s = QGuiApplication::primaryScreen())
        return toTwips(s->availableGeometry());
    return {};
}

// Shows the picture stretched to the widget, drawn again only when the
// size changes.
class PictureView : public QWidget {
public:
    PictureView(const std::optional<VectorPicture>& pic, QWidget* parent)
        : QWidget(parent), pic_(pic) {}

protected:
    void paintEvent(QPaintEvent*) override {
        if (!pic_)
            return;
        if (drawn_.size() != size())
            drawn_ = pic_->Draw(size());
        QPainter p(this);
        p.fillRect(rect(), Qt::white);
        p.drawImage(0, 0, drawn_);
    }

private:
    const std::optional<VectorPicture>& pic_;
    QImage drawn_;
};

} // namespace

sbWmf::sbWmf(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("ｻｲｽﾞを確定してﾗｽﾀﾃﾞｰﾀｰに変換します"));
    Image1 = new PictureView(pic_, this);
    cmRet[0] = new QPushButton(QStringLiteral("Ok(&O)"), this);
    cmRet[1] = new QPushButton(QStringLiteral("Cancel(&C)"), this);
    cmRet[0]->setDefault(true);
    connect(cmRet[0], &QPushButton::clicked, this, &QDialog::accept);
    connect(cmRet[1], &QPushButton::clicked, this, &QDialog::reject);
}

void sbWmf::Act(const QString& sFw, const QString& sFp, int nMaxWd, bool& bOk) {
    QFile f(sFw);
    std::optional<VectorPicture> pic;
    if (f.open(QIODevice::ReadOnly))
        pic = VectorPicture::FromBytes(f.readAll());
    run(pic, sFp, nMaxWd, bOk);
}

void sbWmf::ActCp(const QString& sFp, int nMaxWd, bool& bOk) {
    run(VectorPicture::FromMime(QApplication::clipboard()->mimeData()), sFp, nMaxWd, bOk);
}

void sbWmf::run(const std::optional<VectorPicture>& pic, const QString& sFp, int nMaxWd,
                bool& bOk) {
    bOk = false;
    if (!pic)
        return;
    loading_ = true;
    pic_ = pic;
    const sbWmfLayout::Fit fit = sbWmfLayout::FitWidth(pic_->Twips(), nMaxWd);
    if (fit.shrunk)
        Prompter::instance().message(fit.message);
    QWidget* main = Prompter::owner() ? Prompter::owner()->window() : nullptr;
    const QRect mainTw = main ? toTwips(main->frameGeometry()) : QRect();
    const QPoint mouse = QCursor::pos() * kTw;
    setGeometry(toPixels(sbWmfLayout::Place(fit.size, mouse, mainTw, workAreaTwips())));
    loading_ = false;
    arrange();
    cmRet[0]->setFocus();
    if (Prompter::instance().exec(*this))
        bOk = save(sFp);
    hide();
}

QSize sbWmf::ImageSize() const {
    const QSize button = cmRet[0]->sizeHint() * kTw;
    return toPixels(sbWmfLayout::Arrange(size() * kTw, button).image).size();
}

void sbWmf::arrange() {
    if (loading_)
        return;
    const QSize button = cmRet[0]->sizeHint() * kTw;
    const sbWmfLayout::Arrangement a = sbWmfLayout::Arrange(size() * kTw, button);
    Image1->setGeometry(toPixels(a.image));
    cmRet[0]->setGeometry(toPixels(a.ok));
    cmRet[1]->setGeometry(toPixels(a.cancel));
}

void sbWmf::resizeEvent(QResizeEvent* e) {
    QDialog::resizeEvent(e);
    arrange();
}

bool sbWmf::save(const QString& sFp) const {
    const QSize px = ImageSize();
    const QImage drawn = pic_->Draw(px);
    if (drawn.isNull())
        return false;
    // A bitmap as the window showed it: the picture on white.
    QImage out(px, QImage::Format_RGB32);
    out.fill(Qt::white);
    {
        QPainter p(&out);
        p.drawImage(0, 0, drawn);
    }
    out.setDotsPerMeterX(kDotsPerMeter96);
    out.setDotsPerMeterY(kDotsPerMeter96);
    QImageWriter w(sFp);
    return w.write(out);
}

#include "FileOpProgress.h"
#include "Prompter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPointer>
#include <QProgressDialog>

FileOpProgress::~FileOpProgress() = default;

namespace {

// Short operations never build a window: the dialog is created only when the
// work has lasted longer than kShowAfterMs and is not nearly finished.
class DialogProgress : public FileOpProgress {
public:
    ~DialogProgress() override { end(); }

    void begin(const QString& caption, qint64 total) override {
        caption_ = caption;
        total_ = qMax<qint64>(total, 1);
        clock_.start();
    }

    bool step(qint64 done, const QString& item) override {
        if (!dialog_ && clock_.elapsed() > kShowAfterMs && done * 10 < total_ * 9) {
            dialog_ = new QProgressDialog(caption_, QStringLiteral("キャンセル"), 0, kScale,
                                          Prompter::owner());
            dialog_->setWindowTitle(QStringLiteral("Folium"));
            dialog_->setWindowModality(Qt::WindowModal);
            dialog_->setMinimumDuration(0);
            dialog_->setAutoClose(false);
            dialog_->setAutoReset(false);
        }
        if (!dialog_)
            return true;
        dialog_->setLabelText(caption_ + u'\n' + item);
        dialog_->setValue(int(qMin<qint64>(kScale, done * kScale / total_)));
        QCoreApplication::processEvents();
        return !dialog_->wasCanceled();
    }

    void end() override {
        if (dialog_) {
            dialog_->close();
            delete dialog_.data();
        }
    }

private:
    static constexpr int kScale = 1000;
    static constexpr qint64 kShowAfterMs = 1000;
    QString caption_;
    qint64 total_ = 1;
    QElapsedTimer clock_;
    QPointer<QProgressDialog> dialog_;
};

} // namespace

std::unique_ptr<FileOpProgress> FileOpProgress::dialog() {
    return std::make_unique<DialogProgress>();
}

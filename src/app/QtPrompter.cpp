#include "QtPrompter.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <climits>

namespace {
const QString kTitle = QStringLiteral("Folium");

QMessageBox::Icon toQtIcon(Prompter::Icon icon) {
    switch (icon) {
    case Prompter::Icon::Information:
        return QMessageBox::Information;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}
} // namespace

Prompter::Answer QtPrompter::message(const QString& text, Buttons buttons, Icon icon) {
    QMessageBox box(toQtIcon(icon), kTitle, QString(text).replace(u'\r', u'\n'),
                    QMessageBox::NoButton, owner());
    // Messages quote titles and paths, which may hold "<": never markup.
    box.setTextFormat(Qt::PlainText);
    QAbstractButton* ok = nullptr;
    QAbstractButton* cancel = nullptr;
    QAbstractButton* yes = nullptr;
    QAbstractButton* no = nullptr;
    switch (buttons) {
    case Buttons::Ok:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        break;
    case Buttons::OkCancel:
        ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        break;
    case Buttons::YesNoCancel:
    case Buttons::YesNo:
        yes = box.addButton(QStringLiteral("はい(&Y)"), QMessageBox::YesRole);
        no = box.addButton(QStringLiteral("いいえ(&N)"), QMessageBox::NoRole);
        if (buttons == Buttons::YesNoCancel)
            cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
        break;
    }
    if (cancel)
        box.setEscapeButton(cancel);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked == ok && ok)
        return Answer::Ok;
    if (clicked == yes && yes)
        return Answer::Yes;
    if (clicked == no && no)
        return Answer::No;
    if (buttons == Buttons::Ok)
        return Answer::Ok;
    return buttons == Buttons::YesNo ? Answer::No : Answer::Cancel;
}

std::optional<QString> QtPrompter::input(const QString& prompt, const QString& title,
                                         const QString& initial) {
    QInputDialog dlg(owner());
    dlg.setWindowTitle(title.isEmpty() ? kTitle : title);
    dlg.setLabelText(prompt);
    dlg.setTextValue(initial);
    dlg.setOkButtonText(QStringLiteral("OK"));
    dlg.setCancelButtonText(QStringLiteral("キャンセル"));
    if (dlg.exec() != QDialog::Accepted)
        return std::nullopt;
    return dlg.textValue();
}

QString QtPrompter::openFile(const QString& title, const QString& file, const QString& filter,
                             const QString& dir) {
    QFileDialog dlg(owner(), title.isEmpty() ? kTitle : title, dir, toQtFilter(filter));
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    if (!file.isEmpty())
        dlg.selectFile(file);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().first();
}

QString QtPrompter::openOrNewFile(const QString& title, const QString& file, const QString& filter,
                                  const QString& dir) {
    QFileDialog dlg(owner(), title.isEmpty() ? kTitle : title, dir, toQtFilter(filter));
    dlg.setFileMode(QFileDialog::AnyFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    // A new name is a file to create, not one to overwrite.
    dlg.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!file.isEmpty())
        dlg.selectFile(file);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().first();
}

QString QtPrompter::saveFile(const QString& title, const QString& file, const QString& filter,
                             const QString& dir) {
    QFileDialog dlg(owner(), title.isEmpty() ? kTitle : title, dir, toQtFilter(filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setFileMode(QFileDialog::AnyFile);
    if (!file.isEmpty())
        dlg.selectFile(file);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().first();
}

QString QtPrompter::folder(const QString& title, const QString& start) {
    QFileDialog dlg(owner(), title.isEmpty() ? kTitle : title, start);
    dlg.setFileMode(QFileDialog::Directory);
    dlg.setOption(QFileDialog::ShowDirsOnly, true);
    // The highlighted folder is shown as the dialog's status text.
    QObject::connect(&dlg, &QFileDialog::currentChanged, &dlg, [&dlg](const QString& path) {
        dlg.setLabelText(QFileDialog::FileName, path);
    });
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty())
        return {};
    return dlg.selectedFiles().first();
}

std::optional<QColor> QtPrompter::color(const QColor& initial) {
    const QColor c = QColorDialog::getColor(initial, owner(), kTitle);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

std::optional<QColor> QtPrompter::pickColor(const QColor& initial, const QString& title) {
    const QColor c = QColorDialog::getColor(initial, owner(), title.isEmpty() ? kTitle : title);
    if (!c.isValid())
        return std::nullopt;
    return c;
}

std::optional<QFont> QtPrompter::font(const QFont& initial) {
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, owner(), kTitle);
    if (!ok)
        return std::nullopt;
    return f;
}

std::unique_ptr<Prompter::Progress> QtPrompter::progress(const QString& text, qint64 nTotal) {
    // Totals past what the dialog's int range holds are shown scaled.
    class Shown : public Progress {
    public:
        Shown(const QString& text, qint64 nTotal)
            : scale_(nTotal > INT_MAX ? nTotal / INT_MAX + 1 : 1),
              dlg_(text, QStringLiteral("キャンセル"), 0, int(nTotal / scale_), owner()) {
            dlg_.setWindowTitle(QStringLiteral("Folium"));
            dlg_.setWindowModality(Qt::ApplicationModal);
            dlg_.setMinimumDuration(500);
            dlg_.setAutoReset(false);
        }
        bool step(qint64 nDone) override {
            dlg_.setValue(int(nDone / scale_));
            QApplication::processEvents();
            return !dlg_.wasCanceled();
        }

    private:
        qint64 scale_;
        QProgressDialog dlg_;
    };
    return std::make_unique<Shown>(text, nTotal);
}

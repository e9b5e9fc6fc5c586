#pragma once
// sbWmf: fixes the size at which a vector picture (SVG, WMF or EMF, from a
// file or the clipboard) goes into the document. The picture is shown in a
// resizable window, at most as wide as the text; on OK it is drawn at the
// size shown into a bitmap and saved at 96 dpi in the format of the output
// file's extension, for the editor to insert.

#include "VectorPicture.h"

#include <QDialog>

#include <optional>

class QPushButton;

class sbWmf : public QDialog {
    Q_OBJECT
public:
    explicit sbWmf(QWidget* parent = nullptr);

    // Loads the picture file sFw, shows the window modally and saves to sFp.
    // nMaxWd: the widest picture allowed (twips; below 1: no limit). bOk
    // returns whether an image was saved.
    void Act(const QString& sFw, const QString& sFp, int nMaxWd, bool& bOk);
    // As Act, with the clipboard's metafile (or SVG) picture.
    void ActCp(const QString& sFp, int nMaxWd, bool& bOk);

    // The picture's size shown, in pixels, as the window's size gives it.
    QSize ImageSize() const;

    QWidget* Image1 = nullptr;
    QPushButton* cmRet[2] = {nullptr, nullptr};

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void run(const std::optional<VectorPicture>& pic, const QString& sFp, int nMaxWd, bool& bOk);
    void arrange();
    bool save(const QString& sFp) const;

    std::optional<VectorPicture> pic_;
    bool loading_ = false; // no layout while the picture is loaded
};

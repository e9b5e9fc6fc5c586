#pragma once
// The page picture of the page view (pcTxt): the current page, painted by
// the engine over the background image, kept as an image until the page,
// its size or the document changes.

#include <QImage>
#include <QWidget>

class sbTvw;

class sbTvwPage : public QWidget {
public:
    explicit sbTvwPage(sbTvw* view, QWidget* parent);
    // Forgets the kept image; the next paint renders the page again.
    void invalidate();
    const QImage& image();

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    sbTvw* view_;
    QImage cache_;
    int cachedPage_ = 0;
};

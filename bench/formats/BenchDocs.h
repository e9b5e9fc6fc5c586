#pragma once
// Generated documents and timing helpers shared by the format benchmarks:
// pages of Japanese and Latin text with a formatting change every ~40
// characters, optionally with tables, pictures and links.
#include "Document.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>

namespace bench {

using namespace model;

constexpr int kCharsPerPage = 1500;

inline CharFormat formatNo(int i) {
    CharFormat f;
    switch (i % 5) {
    case 1:
        f.bold = true;
        break;
    case 2:
        f.italic = true;
        f.color = rgb(200, 0, 0);
        break;
    case 3:
        f.halfPoints = 24;
        f.font = QStringLiteral("Arial");
        break;
    case 4:
        f.underline = Underline::Single;
        break;
    default:
        break;
    }
    return f;
}

inline Document generate(int pages, int tables = 0, int pictures = 0, int links = 0) {
    static const QString jp = QStringLiteral("日本語の文章と英語の text が混ざった段落です。");
    static const QString en = QStringLiteral("The quick brown fox jumps over the lazy dog. ");
    Document d;
    Section& s = d.lastSection();
    const int paragraphs = pages * kCharsPerPage / 200;
    int run = 0;
    for (int p = 0; p < paragraphs; ++p) {
        Paragraph para;
        for (int k = 0; k < 5; ++k, ++run)
            para.addText(((run % 2) ? jp : en).left(40), formatNo(run));
        s.blocks.push_back(Block::makeParagraph(para));
    }
    QByteArray png;
    if (pictures) {
        QImage img(64, 48, QImage::Format_RGB32);
        img.fill(Qt::darkCyan);
        QBuffer buf(&png);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
    }
    const size_t n = s.blocks.size();
    for (int i = 0; i < links; ++i) {
        Field f;
        f.target = QStringLiteral("TG_%1").arg(i);
        f.kind = 2;
        f.option = 149;
        f.result.push_back(Inline::makeText(QStringLiteral("tag %1").arg(i)));
        s.blocks[size_t(i) * n / size_t(links)].paragraph.content.push_back(Inline::makeField(f));
    }
    for (int i = 0; i < pictures; ++i) {
        Picture pic;
        pic.data = png;
        pic.type = ImageType::Png;
        pic.width = 960;
        pic.height = 720;
        s.blocks[size_t(i) * n / size_t(pictures)].paragraph.content.push_back(
            Inline::makePicture(pic));
    }
    for (int i = tables - 1; i >= 0; --i) {
        Table t;
        for (int r = 0; r < 4; ++r) {
            TableRow row;
            for (int c = 0; c < 3; ++c) {
                TableCell cell;
                cell.width = 2800;
                Paragraph cp;
                cp.addText(QStringLiteral("セル %1-%2").arg(r).arg(c), {});
                cell.blocks.push_back(Block::makeParagraph(cp));
                row.cells.push_back(cell);
            }
            t.rows.push_back(row);
        }
        s.blocks.insert(s.blocks.begin() + long(size_t(i) * n / size_t(tables)),
                        Block::makeTable(t));
    }
    return d;
}

template <typename F> double bestMs(int repeat, F f) {
    double best = 1e12;
    for (int i = 0; i < repeat; ++i) {
        QElapsedTimer t;
        t.start();
        f();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

inline double mbps(qint64 bytes, double ms) {
    return ms > 0 ? bytes / 1048576.0 / (ms / 1000.0) : 0;
}

} // namespace bench

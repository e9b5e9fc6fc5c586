// Template part of TxFieldOps.h.
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <utility>

template <typename F> void txfield::editRuns(QTextDocument* doc, int from, int to, F change) {
    std::vector<std::pair<std::pair<int, int>, QTextCharFormat>> runs;
    for (QTextBlock b = doc->findBlock(from); b.isValid() && b.position() < to; b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fr = it.fragment();
            const int s = std::max(from, fr.position());
            const int e = std::min(to, fr.position() + fr.length());
            if (s < e)
                runs.push_back({{s, e}, fr.charFormat()});
        }
    }
    QTextCursor c(doc);
    c.beginEditBlock();
    for (auto& [range, f] : runs) {
        QTextCharFormat nf = f;
        change(nf);
        if (nf == f)
            continue;
        c.setPosition(range.first);
        c.setPosition(range.second, QTextCursor::KeepAnchor);
        c.setCharFormat(nf);
    }
    c.endEditBlock();
}

// Page transfers of the editor control: GetData (Word 97-2003 bytes out) and
// SetData (bytes in) of a 100-page and a 1,000-page document, and the undo
// snapshot (the whole document in the native format) of both. Prints the
// median of several rounds in milliseconds.
#include "TxEngine.h"
#include "uTxm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// A document of `pages` pages: each page a heading-like first line and 30
// paragraphs of mixed Japanese and Latin text, some words bold, ending in a
// page break.
QByteArray makeDocument(int pages) {
    TxEngine e;
    QString text;
    const QString line = QStringLiteral("日本語の本文と English words が混ざった段落です。"
                                        "文書の大きさを測るための行。");
    for (int p = 0; p < pages; ++p) {
        text += QStringLiteral("第%1頁の見出し\n").arg(p + 1);
        for (int i = 0; i < 30; ++i)
            text += line + QString::number(i) + u'\n';
        text.back() = QChar(12);
    }
    e.SetText(text);
    // Bold the first word of every tenth paragraph, so runs alternate; one
    // edit block keeps the layout from running after each change.
    QTextCursor c(e.document());
    c.beginEditBlock();
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    int n = 0;
    for (QTextBlock b = e.document()->begin(); b.isValid(); b = b.next(), ++n) {
        if (n % 10 != 0 || b.length() < 4)
            continue;
        c.setPosition(b.position());
        c.setPosition(b.position() + 3, QTextCursor::KeepAnchor);
        c.mergeCharFormat(bold);
    }
    c.endEditBlock();
    bool ok = false;
    const QByteArray bytes = e.SaveBytes(TxEngine::FmtDoc, 0, &ok);
    if (!ok)
        std::fprintf(stderr, "cannot build the document: %s\n", qPrintable(e.LastError()));
    return bytes;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double timeIt(int rounds, const std::function<void()>& f) {
    std::vector<double> ms;
    for (int r = 0; r < rounds; ++r) {
        QElapsedTimer t;
        t.start();
        f();
        ms.push_back(t.nsecsElapsed() / 1e6);
    }
    return median(ms);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 5;

    std::printf("%-10s %10s %12s %12s %12s %12s %12s\n", "pages", "doc bytes", "SetData ms",
                "GetData ms", "snapshot ms", "snap bytes", "key ms");
    for (int pages : {100, 1000}) {
        const QByteArray doc = makeDocument(pages);
        uTxm editor;
        editor.resize(900, 700);
        editor.cOn(0, 1);
        bool ok = false;
        const double set = timeIt(rounds, [&] { editor.SetData(doc, ok, true); });
        if (!ok)
            std::fprintf(stderr, "SetData failed for %d pages\n", pages);
        QByteArray out;
        QString text, title;
        const double get = timeIt(rounds, [&] { editor.GetData(out, text, title, ok); });
        const double snap = timeIt(rounds, [&] { editor.SnapDoc(false); });
        // A keystroke in the middle of the text, with the control's own
        // handling (modified flag, toolbar, status panels) included.
        editor.show();
        editor.mTxt->setFocus();
        editor.mTxt->SetSelStart(int(editor.mTxt->Text().size() / 2));
        const double key = timeIt(rounds * 4, [&] {
            QTest::keyClick(editor.mTxt, Qt::Key_A);
            QCoreApplication::processEvents();
        });
        std::printf("%-10d %10lld %12.1f %12.1f %12.1f %12lld %12.1f\n", pages, qint64(doc.size()),
                    set, get, snap, qint64(editor.ySnap.size()), key);
        editor.SetDcEdt(false);
        editor.cOff();
    }
    return 0;
}

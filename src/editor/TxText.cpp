#include "TxText.h"
#include "mClt.h"

#include <algorithm>

namespace TxText {

namespace {
const QString kCrLf = QStringLiteral("\r\n");
constexpr int kRuleWidth = 30;     // dashes around a page heading in mail text
constexpr int kMaxNameLength = 80; // characters; CJK names stay under 255 bytes

QString firstLine(const QString& text, bool wholeWithoutPara) {
    const qsizetype para = text.indexOf(kPara);
    if (para < 0 && !wholeWithoutPara)
        return {};
    QString line = para < 0 ? text : text.left(para);
    const qsizetype brk = line.indexOf(kLine);
    if (brk >= 0)
        line.truncate(brk);
    return line;
}
bool endsLine(QChar c) {
    return c == kLine || c == kPara || c == kPage || c == kCell;
}

bool endsParagraph(QChar c) {
    return c == kPara || c == kPage || c == kCell;
}

Range around(const QString& text, int from, int to, bool (*isEnd)(QChar)) {
    const int n = int(text.size());
    from = std::clamp(from, 0, n);
    to = std::clamp(to, from, n);
    if (to > from && isEnd(text[to - 1]))
        --to;
    while (from > 0 && !isEnd(text[from - 1]))
        --from;
    while (to < n && !isEnd(text[to]))
        ++to;
    return {from, to};
}
} // namespace

Range LinesAround(const QString& text, int from, int to) {
    return around(text, from, to, endsLine);
}

Range ParagraphsAround(const QString& text, int from, int to) {
    return around(text, from, to, endsParagraph);
}

QString FirstLineTitle(const QString& text) {
    return firstLine(text, false);
}

QString CleanFileName(const QString& name) {
    static const QString reserved = QStringLiteral("/\\:*?\"<>|");
    QString out;
    out.reserve(name.size());
    for (QChar c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F || reserved.contains(c))
            continue;
        if (c.category() == QChar::Other_Format || c.isNonCharacter() || c.isSurrogate())
            continue;
        out += c;
    }
    qsizetype b = 0, e = out.size();
    while (b < e && (out[b].isSpace() || out[b] == u'.'))
        ++b;
    while (e > b && (out[e - 1].isSpace() || out[e - 1] == u'.'))
        --e;
    out = out.mid(b, e - b);
    if (out.size() > kMaxNameLength)
        out = out.left(kMaxNameLength).trimmed();
    return out;
}

QString ProposedFileName(const QString& text) {
    const QString line = firstLine(text, true);
    if (line.startsWith(kObject))
        return {};
    const QString name = CleanFileName(line);
    return name.isEmpty() ? QString() : name + QStringLiteral(".doc");
}

std::vector<QString> Paragraphs(const QString& text) {
    std::vector<QString> out;
    qsizetype from = 0;
    for (;;) {
        const qsizetype at = text.indexOf(kPara, from);
        if (at < 0)
            break;
        out.push_back(text.mid(from, at - from));
        from = at + 1;
    }
    // The last paragraph has no character 10 of its own; keep it when it
    // holds anything, so the mail body never loses its end.
    if (from < text.size())
        out.push_back(text.mid(from));
    return out;
}

void MailText(const std::vector<MailPara>& paras, QString& sTx, QString& sCp) {
    sTx.clear();
    sCp.clear();
    bool haveSubject = false;
    const QString rule(kRuleWidth, u'-');
    for (const MailPara& p : paras) {
        const QString trimmed = mClt::TrimBlanks(p.text);
        QString text = trimmed;
        text.replace(kLine, kCrLf);
        if (!haveSubject && p.style < 3) {
            // A subject is one header line: line breaks become blanks.
            sCp = trimmed;
            sCp.replace(kLine, u' ');
            haveSubject = true;
        }
        switch (p.style) {
        case 0:
            sTx += kCrLf + rule + kCrLf + text + kCrLf + rule;
            break;
        case 1:
            sTx += kCrLf + QStringLiteral("■■　") + text;
            break;
        case 2:
            sTx += kCrLf + QStringLiteral("　■　") + text;
            break;
        default:
            sTx += text;
            break;
        }
        sTx += kCrLf;
    }
    while (sTx.startsWith(kCrLf))
        sTx.remove(0, 2);
    while (sTx.endsWith(kCrLf))
        sTx.chop(2);
}

} // namespace TxText

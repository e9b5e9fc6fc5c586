#include "Tokenizer.h"

namespace rtf {

namespace {

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

} // namespace

Token Tokenizer::next() {
    Token t;
    const qsizetype size = data.size();
    const char* d = data.constData();
    if (binaryLeft > 0) {
        const qint64 n = std::min<qint64>(binaryLeft, size - pos);
        if (n < binaryLeft)
            damage = true;
        binaryLeft = 0;
        t.kind = Token::Kind::Binary;
        t.word = QByteArrayView(d + pos, qsizetype(n));
        pos += qsizetype(n);
        return t;
    }
    while (pos < size) {
        const char c = d[pos];
        if (c == '{') {
            ++pos;
            t.kind = Token::Kind::Open;
            return t;
        }
        if (c == '}') {
            ++pos;
            t.kind = Token::Kind::Close;
            return t;
        }
        if (c == '\r' || c == '\n' || c == '\0') {
            ++pos; // line ends and stray NULs carry no meaning
            continue;
        }
        if (c != '\\') {
            const qsizetype start = pos;
            while (pos < size && d[pos] != '\\' && d[pos] != '{' && d[pos] != '}' &&
                   d[pos] != '\r' && d[pos] != '\n' && d[pos] != '\0')
                ++pos;
            t.kind = Token::Kind::Text;
            t.word = QByteArrayView(d + start, pos - start);
            return t;
        }
        // A backslash.
        ++pos;
        if (pos >= size) {
            t.kind = Token::Kind::End;
            return t;
        }
        const char s = d[pos];
        if (isLetter(s)) {
            const qsizetype start = pos;
            // Control words are at most 32 letters; longer runs are cut there.
            while (pos < size && isLetter(d[pos]) && pos - start < 32)
                ++pos;
            t.kind = Token::Kind::Word;
            t.word = QByteArrayView(d + start, pos - start);
            bool negative = false;
            if (pos < size && d[pos] == '-' && pos + 1 < size && isDigit(d[pos + 1])) {
                negative = true;
                ++pos;
            }
            if (pos < size && isDigit(d[pos])) {
                qint64 v = 0;
                while (pos < size && isDigit(d[pos])) {
                    if (v <= kMaxParam)
                        v = v * 10 + (d[pos] - '0');
                    ++pos;
                }
                v = std::min<qint64>(v, kMaxParam);
                t.param = int(negative ? -v : v);
                t.hasParam = true;
            }
            if (pos < size && d[pos] == ' ')
                ++pos; // the delimiting space belongs to the control word
            return t;
        }
        ++pos;
        if (s == '\'') {
            const int hi = pos < size ? hexValue(d[pos]) : -1;
            const int lo = pos + 1 < size ? hexValue(d[pos + 1]) : -1;
            if (hi < 0 || lo < 0) {
                // Not two hex digits: the escape is dropped, what follows is
                // read as it stands.
                damage = true;
                continue;
            }
            pos += 2;
            t.kind = Token::Kind::Hex;
            t.byte = static_cast<unsigned char>(hi * 16 + lo);
            return t;
        }
        if (s == '\r' || s == '\n') {
            // A backslash before a line end is a paragraph break.
            t.kind = Token::Kind::Word;
            t.word = QByteArrayView("par");
            return t;
        }
        t.kind = Token::Kind::Symbol;
        t.symbol = s;
        return t;
    }
    t.kind = Token::Kind::End;
    return t;
}

} // namespace rtf

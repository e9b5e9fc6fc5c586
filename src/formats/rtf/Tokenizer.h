#pragma once
// Splits RTF bytes into tokens: group braces, control words with their
// numeric parameter, control symbols, hex bytes (\'hh), binary data (\binN)
// and runs of plain text. Flat: the grouping is the reader's business, so a
// deeply nested file costs no stack.

#include <QByteArray>
#include <QByteArrayView>

namespace rtf {

struct Token {
    enum class Kind { End, Open, Close, Word, Symbol, Hex, Binary, Text };
    Kind kind = Kind::End;
    QByteArrayView word; // Word: the name; Binary / Text: the bytes
    int param = 0;
    bool hasParam = false;
    char symbol = 0;        // Symbol: the character after the backslash
    unsigned char byte = 0; // Hex: the value
};

class Tokenizer {
public:
    explicit Tokenizer(const QByteArray& bytes) : data(bytes) {}
    Token next();
    // After \binN: the next `n` bytes (as many as there are) are data.
    void expectBinary(qint64 n) { binaryLeft = n; }
    // True once a \binN asked for more bytes than the file holds, or a \'
    // was not followed by two hex digits.
    bool damaged() const { return damage; }
    qsizetype position() const { return pos; }

private:
    const QByteArray& data;
    qsizetype pos = 0;
    qint64 binaryLeft = 0;
    bool damage = false;
};

// Numeric parameters are clamped into this range: a file's 9999999999 must
// not overflow the arithmetic done with it.
constexpr int kMaxParam = 1 << 30;

} // namespace rtf

#pragma once
// The pictures of an RTF file ({\pict ...} groups), for the corpus test:
// each group's hex data and whether it is a WMF or an EMF.

#include <QByteArray>
#include <QList>

namespace rtfpicts {

struct Pict {
    QByteArray bytes;
    bool emf = false;
    bool wmf = false;
};

inline bool isHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

inline QList<Pict> Extract(const QByteArray& rtf) {
    QList<Pict> out;
    qsizetype from = 0;
    while ((from = rtf.indexOf("{\\pict", from)) >= 0) {
        Pict p;
        QByteArray hex;
        int depth = 0;
        qsizetype i = from;
        for (; i < rtf.size(); ++i) {
            const char c = rtf[i];
            if (c == '{') {
                ++depth;
            } else if (c == '}') {
                if (--depth == 0)
                    break;
            } else if (c == '\\') {
                qsizetype j = i + 1;
                while (j < rtf.size() && std::isalpha(uchar(rtf[j])))
                    ++j;
                const QByteArray word = rtf.mid(i + 1, j - i - 1);
                if (depth == 1 && word == "emfblip")
                    p.emf = true;
                if (depth == 1 && word == "wmetafile")
                    p.wmf = true;
                if (j < rtf.size() && rtf[j] == '-')
                    ++j;
                while (j < rtf.size() && std::isdigit(uchar(rtf[j])))
                    ++j;
                if (j < rtf.size() && rtf[j] == ' ')
                    ++j;
                i = j - 1;
            } else if (depth == 1 && isHex(c)) {
                hex += c;
            }
        }
        p.bytes = QByteArray::fromHex(hex);
        out << p;
        from = i;
    }
    return out;
}

} // namespace rtfpicts

// Reading and writing the answer texts of the small pages.
#include "sbTxmAnswers.h"

#include <algorithm>
#include <cmath>

namespace TxmAns {

namespace {
const QChar kTab = u'\t';
}

Ime ReadIme(const QString& sAns) {
    Ime im;
    const qsizetype tab = sAns.indexOf(kTab);
    if (tab < 0)
        return im;
    im.on = sAns.left(tab).trimmed() == QLatin1String("ON");
    const QString save = sAns.mid(tab + 1).trimmed();
    if (save == QStringLiteral("上書"))
        im.save = 1;
    else if (save == QStringLiteral("無視"))
        im.save = 2;
    return im;
}

QString ImeText(const Ime& im) {
    static const char* const words[3] = {"確認", "上書", "無視"};
    const int save = im.save >= 0 && im.save <= 2 ? im.save : 0;
    return QString::fromLatin1(im.on ? "ON" : "OFF") + kTab + QString::fromUtf8(words[save]);
}

Layout ReadLayout(const QString& sAns) {
    Layout l;
    const QString s = sAns.trimmed();
    if (s.isEmpty())
        return l;
    const int flow = s.at(0).digitValue();
    l.flow = flow >= 1 && flow <= 4 ? flow : 1;
    if (s.size() >= 2) {
        const int color = s.at(1).digitValue();
        l.color = color >= 0 && color <= 2 ? color : 0;
    }
    return l;
}

QString LayoutText(const Layout& l) {
    return QString::number(l.flow) + QString::number(l.color);
}

bool IsLayoutText(const QString& sAns) {
    return sAns.size() == 2 && sAns.at(0) >= u'1' && sAns.at(0) <= u'4' && sAns.at(1) >= u'0' &&
           sAns.at(1) <= u'2';
}

Link ReadLink(const QString& sAns) {
    Link l;
    const qsizetype tab = sAns.indexOf(kTab);
    QString caption = tab < 0 ? sAns : sAns.left(tab);
    caption.remove(QChar(1));
    l.caption = caption.trimmed();
    if (tab >= 0)
        l.target = sAns.mid(tab + 1);
    return l;
}

QString LinkText(const Link& l) {
    return l.caption + kTab + l.target;
}

int ClampZoom(int percent) {
    return std::clamp(percent, kZoomMin, kZoomMax);
}

std::optional<int> FitZoom(double editorWidth, double editorHeight, double pageWidth,
                           double pageHeight, bool wholePage) {
    if (!(pageWidth > 0))
        return std::nullopt;
    double z = editorWidth * 97 / pageWidth;
    if (wholePage) {
        if (!(pageHeight > 0))
            return std::nullopt;
        z = std::min(z, editorHeight * 97 / pageHeight);
    }
    if (!std::isfinite(z))
        return std::nullopt;
    return ClampZoom(int(std::lround(std::clamp(z, -1e6, 1e6))));
}

bool FixHeadingSizes(TxStyle::Table& t) {
    int& h1 = t[0].iSize;
    int& h2 = t[1].iSize;
    int& h3 = t[2].iSize;
    int& body = t[3].iSize;
    int& strong = t[4].iSize;
    const bool wrong = h2 >= h1 || h3 >= h2 || h3 < body || h3 < strong || h3 < 10;
    if (wrong) {
        const int c = std::min(strong, 12);
        const int b = std::min({body, 12, c});
        const int e = b > 10 ? b + 1 : 12;
        h1 = e + 2;
        h2 = e + 1;
        h3 = e;
        body = b;
        strong = c;
    }
    t[5].sFont = t[3].sFont;
    t[5].nBcr = TxStyle::kWhite;
    return wrong;
}

} // namespace TxmAns

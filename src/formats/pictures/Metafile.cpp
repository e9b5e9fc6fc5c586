#include "Metafile.h"

#include <QtEndian>

#include <QStringDecoder>

#include <cstdlib>
#include <cstring>

#include <emf2svg.h>
#include <iconv.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

namespace pictures::detail {

namespace {
void setError(QString* error, const QString& text) {
    if (error)
        *error = text;
}

// Text of a WMF is in the writer's code page: UTF-8 when it is valid, else
// Shift-JIS (the documents this program meets) when it converts, else Latin-1.
QString decodeText(const QByteArray& raw) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8.decode(raw);
    if (!utf8.hasError())
        return asUtf8;
    if (iconv_t cd = iconv_open("UTF-8", "CP932"); cd != iconv_t(-1)) {
        QByteArray in = raw, out(raw.size() * 3 + 4, '\0');
        char* ip = in.data();
        char* op = out.data();
        size_t il = size_t(in.size()), ol = size_t(out.size());
        const size_t r = iconv(cd, &ip, &il, &op, &ol);
        iconv_close(cd);
        if (r != size_t(-1) && il == 0)
            return QString::fromUtf8(out.constData(), out.size() - qsizetype(ol));
    }
    return QString::fromLatin1(raw);
}

// libwmf's SVG is not always XML: text is written unescaped in the
// metafile's code page, and embedded images use xlink without declaring
// it; its polylines leave the fill to SVG's default (black). Puts these
// right so that the SVG reader takes the picture as drawn.
QByteArray repairSvg(const QByteArray& svg) {
    QByteArray out;
    out.reserve(svg.size() + 256);
    const qsizetype root = svg.indexOf("<svg ");
    if (root < 0)
        return svg;
    qsizetype at = root + 5;
    out += svg.left(at);
    out += "xmlns=\"http://www.w3.org/2000/svg\" ";
    if (!svg.contains("xmlns:xlink"))
        out += "xmlns:xlink=\"http://www.w3.org/1999/xlink\" ";
    for (;;) {
        const qsizetype open = svg.indexOf("<text", at);
        if (open < 0)
            break;
        const qsizetype contentStart = svg.indexOf('>', open);
        const qsizetype close = contentStart < 0 ? -1 : svg.indexOf("</text>", contentStart);
        if (close < 0)
            break;
        out += svg.mid(at, contentStart + 1 - at);
        out += decodeText(svg.mid(contentStart + 1, close - contentStart - 1))
                   .toHtmlEscaped()
                   .toUtf8();
        at = close;
    }
    out += svg.mid(at);
    // Lines drawn as polylines carry no fill, which SVG reads as black.
    for (qsizetype pl = out.indexOf("<polyline"); pl >= 0; pl = out.indexOf("<polyline", pl + 1)) {
        const qsizetype end = out.indexOf('>', pl);
        if (end < 0)
            break;
        const qsizetype style = out.indexOf("style=\"", pl);
        if (style < 0 || style > end) {
            out.insert(pl + 9, " style=\"fill:none\"");
            continue;
        }
        const qsizetype fill = out.indexOf("fill:", style);
        if (fill < 0 || fill > end)
            out.insert(style + 7, "fill:none; ");
    }
    return out;
}

// One libwmf session; destroyed with everything it allocated.
class WmfSession {
public:
    WmfSession() {
        wmfAPI_Options opts;
        std::memset(&opts, 0, sizeof opts);
        opts.function = wmf_svg_function;
        // Damaged records are skipped instead of ending the picture; the
        // library's own messages stay off standard error.
        const unsigned long flags =
            WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf_api_create(&api, flags, &opts) != wmf_E_None)
            api = nullptr;
    }
    ~WmfSession() {
        if (api)
            wmf_api_destroy(api);
    }
    WmfSession(const WmfSession&) = delete;
    WmfSession& operator=(const WmfSession&) = delete;
    wmfAPI* api = nullptr;
};
} // namespace

QByteArray WmfToSvg(const QByteArray& bytes, QString* error, QSizeF* size) {
    WmfSession s;
    if (!s.api) {
        setError(error, QStringLiteral("the WMF library cannot start"));
        return {};
    }
    // libwmf reads the buffer without writing to it; it keeps the pointer
    // until the session ends, and `bytes` outlives the session.
    QByteArray data = bytes;
    auto* in = reinterpret_cast<unsigned char*>(data.data());
    if (wmf_mem_open(s.api, in, long(data.size())) != wmf_E_None) {
        setError(error, QStringLiteral("not a WMF picture"));
        return {};
    }
    wmfD_Rect bbox;
    if (wmf_scan(s.api, 0, &bbox) != wmf_E_None || s.api->err != wmf_E_None) {
        setError(error, QStringLiteral("the WMF picture is damaged"));
        wmf_mem_close(s.api);
        return {};
    }
    // The scan measures what is drawn; a placeable picture's frame is its
    // header's rectangle, so empty margins stay and shapes keep their place.
    // The player's device units are points.
    const quint16 inch =
        data.size() >= 22 ? qFromLittleEndian<quint16>(data.constData() + 14) : quint16(0);
    if (inch > 0 && qFromLittleEndian<quint32>(data.constData()) == 0x9AC6CDD7) {
        const auto at = [&](int i) {
            return float(qFromLittleEndian<qint16>(data.constData() + i)) * 72.0f / inch;
        };
        bbox.TL.x = at(6);
        bbox.TL.y = at(8);
        bbox.BR.x = at(10);
        bbox.BR.y = at(12);
    }
    unsigned int w = 0, h = 0;
    if (wmf_display_size(s.api, &w, &h, 72, 72) != wmf_E_None || w == 0 || h == 0) {
        setError(error, QStringLiteral("the WMF picture has no size"));
        wmf_mem_close(s.api);
        return {};
    }
    if (size)
        *size = QSizeF(w, h);
    wmf_svg_t* dev = WMF_SVG_GetData(s.api);
    dev->out = wmf_stream_create(s.api, nullptr); // into memory
    dev->Description = nullptr;
    dev->bbox = bbox;
    dev->width = w;
    dev->height = h;
    dev->flags |= WMF_SVG_INLINE_IMAGES;
    const wmf_error_t played = wmf_play(s.api, 0, &bbox);
    char* out = nullptr;
    unsigned long outLen = 0;
    wmf_stream_destroy(s.api, dev->out, &out, &outLen);
    wmf_mem_close(s.api);
    QByteArray svg;
    if (out) {
        svg = QByteArray(out, qsizetype(outLen));
        wmf_free(s.api, out);
    }
    if (played != wmf_E_None || svg.isEmpty()) {
        setError(error, QStringLiteral("the WMF picture cannot be drawn"));
        return {};
    }
    return repairSvg(svg);
}

QByteArray EmfToSvg(const QByteArray& bytes, QSizeF pixels, QString* error) {
    generatorOptions opts;
    std::memset(&opts, 0, sizeof opts);
    char ns[] = "";
    opts.nameSpace = ns;
    opts.verbose = false;
    opts.emfplus = true;
    opts.svgDelimiter = true;
    opts.imgWidth = pixels.width();
    opts.imgHeight = pixels.height();
    QByteArray data = bytes; // the library takes a writable pointer
    char* out = nullptr;
    size_t outLen = 0;
    const int ok = emf2svg(data.data(), size_t(data.size()), &out, &outLen, &opts);
    QByteArray svg;
    if (out) {
        svg = QByteArray(out, qsizetype(outLen));
        std::free(out);
    }
    if (!ok || svg.isEmpty()) {
        setError(error, QStringLiteral("the EMF picture cannot be drawn"));
        return {};
    }
    return svg;
}

} // namespace pictures::detail

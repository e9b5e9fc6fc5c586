#include "Package.h"

#include <QDir>

#include <zip.h>

namespace docx {

namespace {

constexpr qint64 kMaxEntries = 20000;

QString zipError(zip_error_t* e) {
    return QString::fromLocal8Bit(zip_error_strerror(e));
}

} // namespace

PackageReader::~PackageReader() {
    if (archive)
        zip_discard(archive); // also frees the source
    else if (source)
        zip_source_free(source);
}

bool PackageReader::open(const QByteArray& bytes, qint64 maxBytes, QString* error) {
    data = bytes;
    limit = maxBytes;
    zip_error_t err;
    zip_error_init(&err);
    source = zip_source_buffer_create(data.constData(), zip_uint64_t(data.size()), 0, &err);
    if (source)
        archive = zip_open_from_source(source, ZIP_RDONLY, &err);
    if (!archive) {
        *error = QStringLiteral("not a Word Open XML package (%1)").arg(zipError(&err));
        zip_error_fini(&err);
        return false;
    }
    zip_error_fini(&err);
    const zip_int64_t n = zip_get_num_entries(archive, 0);
    if (n < 0 || n > kMaxEntries) {
        *error = QStringLiteral("the package has too many parts");
        return false;
    }
    for (zip_int64_t i = 0; i < n; ++i) {
        const char* name = zip_get_name(archive, zip_uint64_t(i), ZIP_FL_ENC_GUESS);
        if (name)
            index.insert(QString::fromUtf8(name).toLower(), i);
    }
    return true;
}

bool PackageReader::has(const QString& name) const {
    return index.contains(name.toLower());
}

std::optional<QByteArray> PackageReader::part(const QString& name) {
    const auto it = index.constFind(name.toLower());
    if (it == index.cend() || exhausted())
        return std::nullopt;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_stat_index(archive, zip_uint64_t(*it), 0, &st) != 0)
        return std::nullopt;
    if (st.encryption_method != ZIP_EM_NONE)
        return std::nullopt;
    zip_file_t* file = zip_fopen_index(archive, zip_uint64_t(*it), 0);
    if (!file)
        return std::nullopt;
    // The stated size is only a hint: the stream is read in chunks and cut
    // off once the package's allowance is spent, whatever the header says.
    QByteArray out;
    if ((st.valid & ZIP_STAT_SIZE) && qint64(st.size) <= limit - used)
        out.reserve(qsizetype(std::min<zip_uint64_t>(st.size, 4 << 20)));
    char chunk[65536];
    bool ok = true;
    for (;;) {
        const zip_int64_t got = zip_fread(file, chunk, sizeof chunk);
        if (got < 0) {
            ok = false;
            break;
        }
        if (got == 0)
            break;
        used += got;
        if (exhausted()) {
            ok = false;
            break;
        }
        out.append(chunk, qsizetype(got));
    }
    zip_fclose(file);
    if (!ok)
        return std::nullopt;
    return out;
}

QString resolveTarget(const QString& fromPart, const QString& target) {
    QString t = target;
    const qsizetype hash = t.indexOf(u'#');
    if (hash >= 0)
        t.truncate(hash);
    if (t.isEmpty())
        return {};
    QString path;
    if (t.startsWith(u'/'))
        path = t.mid(1);
    else {
        const qsizetype slash = fromPart.lastIndexOf(u'/');
        path = (slash >= 0 ? fromPart.left(slash + 1) : QString()) + t;
    }
    path = QDir::cleanPath(path);
    if (path.startsWith(QLatin1String("..")) || path.startsWith(u'/') || path.isEmpty())
        return {};
    return path;
}

std::optional<QByteArray> buildPackage(const Parts& parts, QString* error) {
    zip_error_t err;
    zip_error_init(&err);
    zip_source_t* out = zip_source_buffer_create(nullptr, 0, 0, &err);
    zip_t* z = out ? zip_open_from_source(out, ZIP_TRUNCATE, &err) : nullptr;
    const auto fail = [&](const QString& why) {
        if (error)
            *error = why;
        if (z)
            zip_discard(z);
        else if (out)
            zip_source_free(out);
        zip_error_fini(&err);
        return std::nullopt;
    };
    if (!z)
        return fail(QStringLiteral("cannot build the package: %1").arg(zipError(&err)));
    zip_source_keep(out);
    for (const auto& [name, bytes] : parts) {
        // The buffers stay alive in `parts` until zip_close has read them.
        zip_source_t* s = zip_source_buffer(z, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        const QByteArray n = name.toUtf8();
        const zip_int64_t i = s ? zip_file_add(z, n.constData(), s, ZIP_FL_ENC_UTF_8) : -1;
        if (i < 0) {
            if (s)
                zip_source_free(s);
            const QString why = QString::fromLocal8Bit(zip_strerror(z));
            zip_source_free(out);
            out = nullptr;
            return fail(QStringLiteral("cannot add %1: %2").arg(name, why));
        }
        const bool media = name.contains(QLatin1String("/media/"));
        zip_set_file_compression(z, zip_uint64_t(i), media ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0);
    }
    if (zip_close(z) != 0) {
        const QString why = QString::fromLocal8Bit(zip_strerror(z));
        zip_source_free(out);
        out = nullptr;
        return fail(QStringLiteral("cannot build the package: %1").arg(why));
    }
    z = nullptr;
    QByteArray result;
    zip_stat_t st;
    zip_stat_init(&st);
    if (zip_source_stat(out, &st) == 0 && zip_source_open(out) == 0) {
        result.resize(qsizetype(st.size));
        const zip_int64_t got = zip_source_read(out, result.data(), st.size);
        zip_source_close(out);
        if (got != zip_int64_t(st.size))
            result.clear();
    }
    zip_source_free(out);
    zip_error_fini(&err);
    if (result.isEmpty()) {
        if (error)
            *error = QStringLiteral("cannot build the package");
        return std::nullopt;
    }
    return result;
}

} // namespace docx

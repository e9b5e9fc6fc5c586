#include "Corpus.h"

#include "TestEnv.h"

#include <QDir>
#include <QDirIterator>

namespace Corpus {

QString dir() {
    const QString set = qEnvironmentVariable("FOLIUM_CORPUS");
    return QDir::cleanPath(
        QDir(set.isEmpty() ? TestEnv::sharedDir() + QStringLiteral("/corpus") : set)
            .absolutePath());
}

QStringList files(const QString& sub, const QStringList& patterns) {
    QStringList out;
    QDirIterator it(dir() + u'/' + sub, patterns, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << it.next();
    out.sort();
    return out;
}

bool present() {
    return !files(QStringLiteral("doc"), {QStringLiteral("*.doc")}).isEmpty();
}

QString path(const QString& relative) {
    return dir() + u'/' + relative;
}

bool underCi() {
    return qEnvironmentVariable("CI").compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
}

std::string missingMessage() {
    return QStringLiteral("the document corpus was not found in %1 (no doc/*.doc there). It is "
                          "the folder shared/corpus beside the project (real files by Word, "
                          "LibreOffice and other programs, kept apart for their licences): put "
                          "it there, or set FOLIUM_CORPUS to where it is.%2")
        .arg(dir(), underCi() ? QStringLiteral(" CI=true: a missing corpus is a failure.")
                              : QStringLiteral(" Tests that need it are skipped."))
        .toStdString();
}

} // namespace Corpus

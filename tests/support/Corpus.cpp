#include "Corpus.h"

#include "TestEnv.h"

#include <QDir>
#include <QDirIterator>
#include <QHash>

#include <cstdio>

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

QByteArray bytes(const QString& relative) {
    return TestEnv::readFile(path(relative));
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

double overlap(const QString& actual, const QString& expected) {
    if (expected.isEmpty())
        return actual.isEmpty() ? 1.0 : 0.0;
    QHash<char16_t, int> counts;
    for (QChar c : actual)
        ++counts[c.unicode()];
    int found = 0;
    for (QChar c : expected)
        if (counts[c.unicode()]-- > 0)
            ++found;
    return double(found) / double(expected.size());
}

void Tally::refused(const QString& name, const QString& error) {
    ++refusals;
    std::printf("refused  %s: %s\n", qPrintable(name), qPrintable(error));
}

void Tally::matched(const QString& name) {
    ++read;
    ++same;
    std::printf("same     %s\n", qPrintable(name));
}

void Tally::withoutReference(const QString& name, const QString& why) {
    ++read;
    ++unchecked;
    std::printf("unchecked %s (%s)\n", qPrintable(name), qPrintable(why));
}

bool Tally::differs(const QString& name, double o, qsizetype ours, qsizetype theirs) {
    ++read;
    const bool near = o >= 0.9;
    close += near;
    std::printf("differs  %s (overlap %.3f, %lld vs %lld chars)\n", qPrintable(name), o,
                qlonglong(ours), qlonglong(theirs));
    return near;
}

} // namespace Corpus

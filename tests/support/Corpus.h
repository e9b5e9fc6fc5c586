#pragma once
// The document corpus: real files written by Word, LibreOffice and other
// programs, kept apart from the project (it is test data under the licences
// of the projects it comes from). Every test that reads it finds it here.
//
// Where: $FOLIUM_CORPUS, else corpus/ in the shared folder beside the
// project (../shared/corpus). Without it the tests that need it are skipped
// with a message saying so; under continuous integration (CI=true) they fail
// instead, so the strongest checks never stop running unnoticed.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace Corpus {

// The corpus folder (absolute, without a final "/"), present or not.
QString dir();
// True when the folder holds its Word documents (doc/ with .doc files).
bool present();
// The files below `sub` (e.g. "doc") whose names match `patterns`, sorted;
// empty when the corpus is absent.
QStringList files(const QString& sub, const QStringList& patterns);
// One file of the corpus by its path below dir().
QString path(const QString& relative);
// The bytes of that file (empty when it cannot be read).
QByteArray bytes(const QString& relative);
// Why a test needs it and how to get it: names the folder.
std::string missingMessage();
// Continuous integration: the environment variable CI is "true".
bool underCi();

// Share of `expected`'s characters (as a multiset) found in `actual`: 1 when
// each of them is there, whatever the order; for a text that differs from
// a reader's reference only in what one of them adds or leaves out.
double overlap(const QString& actual, const QString& expected);

// The outcome of each file of a corpus run, printed as it comes (one line a
// file, its outcome first), and the counts of each outcome.
struct Tally {
    int read = 0;      // files read (same, close, differing or unchecked)
    int same = 0;      // read with exactly the reference text
    int close = 0;     // differing, but with an overlap of at least 0.9
    int unchecked = 0; // read, with no reference text to compare
    int refusals = 0;

    void refused(const QString& name, const QString& error);
    void matched(const QString& name);
    void withoutReference(const QString& name, const QString& why);
    // Prints the overlap and both sizes; true when the texts are close.
    bool differs(const QString& name, double overlap, qsizetype ours, qsizetype theirs);
};

} // namespace Corpus

// At the start of a test that needs the corpus: skips the test when the
// corpus is absent, or fails it under continuous integration.
#define FOLIUM_REQUIRE_CORPUS()                                                                    \
    do {                                                                                           \
        if (!Corpus::present()) {                                                                  \
            if (Corpus::underCi())                                                                 \
                FAIL() << Corpus::missingMessage();                                                \
            GTEST_SKIP() << Corpus::missingMessage();                                              \
        }                                                                                          \
    } while (false)

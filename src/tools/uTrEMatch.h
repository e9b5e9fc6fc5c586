#pragma once
// Name patterns of the file pane. The document test follows the classic
// Like operator: * any run, ? one character, # one digit, [a-z] / [!a-z] a
// character set; the name is compared as it stands (case-sensitive) against
// patterns that were lower-cased. The file list's own pattern follows the
// desktop's file dialogs instead: case-insensitive, "*.*" meaning any file.

#include <QList>
#include <QRegularExpression>
#include <QStringList>

namespace uTrEMatch {

// A Like pattern as an anchored regular expression; invalid (matching
// nothing) for an unclosed "[".
QRegularExpression likeRegex(const QString& pattern);
bool like(const QString& name, const QString& pattern);

// The document patterns: lower-cased, split at ";", blanks dropped.
QList<QRegularExpression> docPatterns(const QString& sFtS);
// True when `patterns` is empty or `name` matches one of them.
bool isDoc(const QString& name, const QList<QRegularExpression>& patterns);

// The file list's pattern ("*.*;*.txt") as name filters for QDir.
QStringList listFilters(const QString& sFt);

} // namespace uTrEMatch

#pragma once
// Test environment: every test binary runs with HOME and the XDG folders in a
// temporary directory, under the offscreen platform.

#include <QByteArray>
#include <QString>

namespace TestEnv {
// The temporary HOME of this test run.
QString home();
// A fresh, empty folder below the temporary HOME (ends without "/").
QString freshDir(const QString& name = QString());
// The shared folder beside the project (the document corpus).
QString sharedDir();
QString sourceDir();
QByteArray readFile(const QString& path);
void writeFile(const QString& path, const QByteArray& bytes);
} // namespace TestEnv

#include <ostream>
// Readable QString values in GoogleTest failure messages.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

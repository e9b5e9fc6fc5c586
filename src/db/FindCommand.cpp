#include "FindCommand.h"
#include "ConsolePrompter.h"
#include "Db.h"
#include "DbFind.h"

#include <QFileInfo>
#include <QTextStream>

namespace Usr {

bool IsFindCommand(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--find") == 0)
            return true;
    return false;
}

int RunFindCommand(const QStringList& args, QTextStream& out, QTextStream& err) {
    QString words, db;
    bool titles = false, haveWords = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--headless"))
            continue;
        if (a == QLatin1String("--titles")) {
            titles = true;
        } else if (a == QLatin1String("--find") && i + 1 < args.size()) {
            words = args[++i];
            haveWords = true;
        } else if (a == QLatin1String("--db") && i + 1 < args.size()) {
            db = args[++i];
        } else {
            err << "folium: unknown or incomplete argument: " << a << Qt::endl;
            err << "usage: folium --headless --find \"WORDS\" --db FILE [--titles]" << Qt::endl;
            return 1;
        }
    }
    if (!haveWords || db.isEmpty()) {
        err << "usage: folium --headless --find \"WORDS\" --db FILE [--titles]" << Qt::endl;
        return 1;
    }
    if (!QFileInfo(db).isFile()) {
        err << db << ": no such file" << Qt::endl;
        return 1;
    }
    // The program's own messages ("DataBase Open Error !!", "... は文書DBでは
    // ありません") go to standard error.
    ConsolePrompter console;
    Prompter& previous = Prompter::instance();
    Prompter::install(&console);
    bool ok = false;
    DbOpen(db, ok);
    QList<FoundDoc> found;
    if (ok)
        found = DbFind(words, titles ? QStringLiteral("szDoc") : QStringLiteral("txDoc"), ok);
    DbClose();
    Prompter::install(&previous);
    if (!ok)
        return 1;
    for (const FoundDoc& d : found)
        out << d.noDoc << '\t' << d.szDoc << '\n';
    out.flush();
    return 0;
}

} // namespace Usr

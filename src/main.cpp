// Folium's entry point: the start procedure, then the main window.
#include "Converter.h"
#include "Usr.h"
#include "fmDoc.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

int main(int argc, char* argv[]) {
    // The headless converter needs no display: it runs before any window
    // system is touched.
    if (formats::isHeadless(argc, argv)) {
        QCoreApplication core(argc, argv);
        QTextStream err(stderr);
        return formats::runHeadless(QCoreApplication::arguments().mid(1), err);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Folium"));

    // Standard dialogs speak Japanese, like the program's own texts.
    QTranslator qtJa;
    if (qtJa.load(QLocale(QLocale::Japanese), QStringLiteral("qtbase"), QStringLiteral("_"),
                  QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtJa);

    fmDoc* window = nullptr;
    const int status = Usr::Main([&] {
        window = new fmDoc;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Act();
        // A file named on the command line opens in the editor.
        window->OpenCommandLine(QApplication::arguments().mid(1).join(u' '));
    });
    if (status != 0)
        return status;
    return QApplication::exec();
}

// Folium's entry point: the start procedure, then the main window.
#include "Converter.h"
#include "DbCopy.h"
#include "FindCommand.h"
#include "PdfExport.h"
#include "Usr.h"
#include "fmDoc.h"
#include "yHtm.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTextStream>
#include <QTranslator>

int main(int argc, char* argv[]) {
    // The find for scripts and the headless converter need no display: they
    // run before any window system is touched.
    if (Usr::IsCopyCommand(argc, argv)) {
        QCoreApplication core(argc, argv);
        QTextStream out(stdout), err(stderr);
        return Usr::RunCopyCommand(QCoreApplication::arguments().mid(1), out, err);
    }
    if (Usr::IsFindCommand(argc, argv)) {
        QCoreApplication core(argc, argv);
        QTextStream out(stdout), err(stderr);
        return Usr::RunFindCommand(QCoreApplication::arguments().mid(1), out, err);
    }
    if (formats::isHeadless(argc, argv)) {
        // PDF pages are laid out with real fonts, which takes a GUI
        // application; the offscreen platform needs no display.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication gui(argc, argv);
        pdfexport::install();
        // .htm is written as the HTML export writes it, pictures beside.
        yHtm::install();
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

    // The command line is one string, as the shell gave it: the window takes
    // the file it names (quotes removed, cut at a tab).
    const QString sCmd = QApplication::arguments().mid(1).join(u' ');
    const int status = Usr::Main([&] {
        auto* window = new fmDoc;
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->Act(sCmd);
    });
    if (status != 0)
        return status;
    return QApplication::exec();
}

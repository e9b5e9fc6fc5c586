// Folium's entry point: the start procedure, then the main window.
#include "Usr.h"
#include "fmDoc.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

int main(int argc, char* argv[]) {
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
    });
    if (status != 0)
        return status;
    return QApplication::exec();
}

// The program as shipped: the built folium binary under a real X server
// (Xvfb) with its own HOME, driven by real key and mouse events (xdotool).
// A user types a title, a line of body text and a line made a heading with
// F2, saves with F8 into the documents folder and quits with
// "終了(&X)". The saved file is read back through the headless converter, and
// the settings file holds the window's settings.
#include "Converter.h"
#include "Document.h"
#include "TestEnv.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

namespace {

// Runs a program to its end; its standard output, or nullopt on failure.
std::optional<QString> run(const QString& program, const QStringList& args,
                           const QProcessEnvironment& env, int timeoutMs = 20000) {
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit ||
        p.exitCode() != 0)
        return std::nullopt;
    return QString::fromUtf8(p.readAllStandardOutput());
}

// Waits until `ready` holds, up to `ms` milliseconds.
template <typename F> bool waitFor(F&& ready, int ms) {
    QElapsedTimer t;
    t.start();
    while (!ready()) {
        if (t.elapsed() > ms)
            return false;
        QThread::msleep(100);
    }
    return true;
}

class GuiSession : public ::testing::Test {
protected:
    void SetUp() override {
        xvfb_ = QStandardPaths::findExecutable(QStringLiteral("Xvfb"));
        xdotool_ = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        ASSERT_FALSE(xvfb_.isEmpty())
            << "Xvfb is needed (Debian package xvfb; test.sh installs it)";
        ASSERT_FALSE(xdotool_.isEmpty()) << "xdotool is needed (test.sh installs it)";
        // Xvfb picks a free display itself and writes its number once it
        // accepts connections, so two servers never race for one number.
        server_.setStandardErrorFile(QProcess::nullDevice());
        server_.start(xvfb_,
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1600x1000x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        ASSERT_TRUE(server_.waitForStarted(10000));
        QByteArray number;
        ASSERT_TRUE(waitFor(
            [&] {
                server_.waitForReadyRead(100);
                number += server_.readAllStandardOutput();
                return number.contains('\n');
            },
            10000))
            << "Xvfb did not start";
        display_ = u':' + QString::fromLatin1(number.trimmed());

        home_ = TestEnv::freshDir(QStringLiteral("gui-home"));
        QDir().mkpath(home_ + QStringLiteral("/.runtime"));
        QFile::setPermissions(home_ + QStringLiteral("/.runtime"), QFileDevice::ReadOwner |
                                                                       QFileDevice::WriteOwner |
                                                                       QFileDevice::ExeOwner);
        env_ = QProcessEnvironment::systemEnvironment();
        for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME",
                              "XDG_DOCUMENTS_DIR", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env_.remove(QLatin1String(v));
        env_.insert(QStringLiteral("HOME"), home_);
        env_.insert(QStringLiteral("XDG_RUNTIME_DIR"), home_ + QStringLiteral("/.runtime"));
        env_.insert(QStringLiteral("DISPLAY"), display_);
        env_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    }

    void TearDown() override {
        if (app_.state() != QProcess::NotRunning) {
            app_.kill();
            app_.waitForFinished(5000);
        }
        server_.terminate();
        if (!server_.waitForFinished(5000))
            server_.kill();
    }

    bool xdo(const QStringList& args) { return run(xdotool_, args, env_).has_value(); }
    void key(const QString& k) {
        xdo({QStringLiteral("key"), QStringLiteral("--clearmodifiers"), k});
        QThread::msleep(400);
    }
    void type(const QString& text) {
        xdo({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
        QThread::msleep(300);
    }

    QString xvfb_, xdotool_, display_, home_;
    QProcessEnvironment env_;
    QProcess server_, app_;
};

} // namespace

TEST_F(GuiSession, TypeHeadingSaveAndQuit) {
    app_.setProcessEnvironment(env_);
    app_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    app_.start(QStringLiteral(FOLIUM_BINARY), {});
    ASSERT_TRUE(app_.waitForStarted(10000));

    // The main window appears with its caption.
    QString window;
    ASSERT_TRUE(waitFor(
        [&] {
            const auto out = run(xdotool_,
                                 {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                  QStringLiteral("--name"), QStringLiteral("^Folium$")},
                                 env_);
            window = out ? out->section(u'\n', 0, 0).trimmed() : QString();
            return !window.isEmpty();
        },
        20000))
        << "no window named Folium";
    QThread::msleep(3000);

    // Click into the editor (the right part of the window), then type.
    ASSERT_TRUE(
        xdo({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("700"),
             QStringLiteral("400"), QStringLiteral("click"), QStringLiteral("1")}));
    QThread::msleep(1000);
    type(QStringLiteral("Gui heading"));
    key(QStringLiteral("Return"));
    type(QStringLiteral("body line"));
    key(QStringLiteral("Return"));
    // The third line is body text until F2 makes it a heading.
    type(QStringLiteral("Second heading"));
    key(QStringLiteral("F2"));
    // F8 saves; a new document asks for its name in the documents folder,
    // proposing one from its first line: accept it.
    key(QStringLiteral("F8"));
    QThread::msleep(3000);
    key(QStringLiteral("Return"));
    const QString docs = home_ + QStringLiteral("/Documents");
    const QString file = docs + QStringLiteral("/Gui heading.doc");
    ASSERT_TRUE(waitFor([&] { return QFile::exists(file); }, 10000))
        << "nothing saved in " << docs.toStdString() << ": "
        << QDir(docs).entryList(QDir::Files).join(u' ').toStdString();

    // "終了(&X)" from the file menu ends the program. (Without a window
    // manager nobody gives the main window back the keyboard after the
    // dialog: a click into it does, as a user would.)
    ASSERT_TRUE(
        xdo({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QStringLiteral("700"),
             QStringLiteral("400"), QStringLiteral("click"), QStringLiteral("1")}));
    QThread::msleep(1000);
    key(QStringLiteral("alt+f"));
    key(QStringLiteral("x"));
    ASSERT_TRUE(app_.waitForFinished(20000)) << "the program did not end";
    EXPECT_EQ(app_.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(app_.exitCode(), 0);

    // The headless converter reads the text back ...
    const QString out = TestEnv::freshDir(QStringLiteral("gui-out"));
    ASSERT_TRUE(run(QStringLiteral(FOLIUM_BINARY),
                    {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                     QStringLiteral("txt"), QStringLiteral("--outdir"), out, file},
                    env_)
                    .has_value());
    const QString text =
        QString::fromUtf8(TestEnv::readFile(out + QStringLiteral("/Gui heading.txt")));
    EXPECT_TRUE(text.contains(QStringLiteral("Gui heading"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("body line"))) << text.toStdString();

    // ... and the line F2 was pressed on carries the heading's look (14 pt
    // bold), the body line the body's (10 pt).
    QString error;
    const auto doc = formats::Converter::instance().load(TestEnv::readFile(file), 9, &error);
    ASSERT_TRUE(doc.has_value()) << error.toStdString();
    ASSERT_FALSE(doc->sections.empty());
    const auto& blocks = doc->sections[0].blocks;
    ASSERT_GE(blocks.size(), 3u);
    const model::Paragraph& first = blocks[0].paragraph;
    const model::Paragraph& body = blocks[1].paragraph;
    const model::Paragraph& heading = blocks[2].paragraph;
    ASSERT_FALSE(first.content.empty());
    ASSERT_FALSE(body.content.empty());
    ASSERT_FALSE(heading.content.empty());
    EXPECT_EQ(first.content[0].text, QStringLiteral("Gui heading"));
    EXPECT_EQ(body.content[0].text, QStringLiteral("body line"));
    EXPECT_EQ(body.content[0].format.halfPoints, 20);
    EXPECT_FALSE(body.content[0].format.bold);
    EXPECT_EQ(heading.content[0].text, QStringLiteral("Second heading"));
    EXPECT_EQ(heading.content[0].format.halfPoints, 28);
    EXPECT_TRUE(heading.content[0].format.bold);

    // The settings file holds the window's place and the file pane's folder.
    const QString xml = QString::fromUtf8(
        TestEnv::readFile(home_ + QStringLiteral("/.local/share/Veltrin/folium/User.xml")));
    for (const char* tag :
         {"<TX_SCREEN>", "<LEFT>", "<TOP>", "<WIDTH>", "<HEIGHT>", "<FUNC>", "<DIR_H>", "<DC_KBS>"})
        EXPECT_TRUE(xml.contains(QLatin1String(tag))) << tag;
    EXPECT_TRUE(xml.contains(QStringLiteral("<PATH>") + docs + QStringLiteral("</PATH>")))
        << xml.toStdString();
    const qsizetype w = xml.indexOf(QStringLiteral("<WIDTH>"));
    EXPECT_GT(xml.mid(w + 7, xml.indexOf(u'<', w + 7) - w - 7).toInt(), 3000);
}

// A new user's first page in a document database and back: connect to a new
// database, export the typed page at the top of the (empty) page tree, quit;
// start again, import the page found by its title in the page-tree panel,
// and save it to a file to read it back.
TEST_F(GuiSession, ExportPageToNewDatabaseAndImportItAgain) {
    const auto windowNamed = [&](const QString& name) {
        QString id;
        waitFor(
            [&] {
                const auto out = run(xdotool_,
                                     {QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                      QStringLiteral("--name"), name},
                                     env_);
                id = out ? out->section(u'\n', 0, 0).trimmed() : QString();
                return !id.isEmpty();
            },
            20000);
        return id;
    };
    const auto clickIn = [&](const QString& window, int x, int y, int button = 1) {
        xdo({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(x),
             QString::number(y), QStringLiteral("click"), QString::number(button)});
        QThread::msleep(1200);
    };
    const auto startApp = [&] {
        app_.setProcessEnvironment(env_);
        app_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        app_.start(QStringLiteral(FOLIUM_BINARY), {});
        EXPECT_TRUE(app_.waitForStarted(10000));
        const QString w = windowNamed(QStringLiteral("^Folium$"));
        QThread::msleep(3000);
        return w;
    };
    const QString db = home_ + QStringLiteral("/pages.txdb");

    QString window = startApp();
    ASSERT_FALSE(window.isEmpty()) << "no window named Folium";
    clickIn(window, 700, 400);
    type(QStringLiteral("Filed page"));
    key(QStringLiteral("Return"));
    type(QStringLiteral("kept in the database"));

    // "外部文書(&B)" / "接続先を指定": a database that does not exist yet is made.
    key(QStringLiteral("alt+b"));
    key(QStringLiteral("Return"));
    QThread::msleep(2000);
    type(db);
    key(QStringLiteral("Return"));
    QThread::msleep(1600);
    key(QStringLiteral("Return")); // yes, make it
    ASSERT_TRUE(waitFor([&] { return QFile::exists(db); }, 10000)) << "no database made";

    // "ｴｸｽﾎﾟｰﾄ (部章節)": the last item but one, asks for the title, then the
    // dialog places the page at the top of the empty tree.
    clickIn(window, 700, 400);
    key(QStringLiteral("alt+b"));
    key(QStringLiteral("Up"));
    key(QStringLiteral("Up"));
    key(QStringLiteral("Return"));
    QThread::msleep(1600);
    type(QStringLiteral("Filed page"));
    key(QStringLiteral("Return"));
    const QString exportDlg = windowNamed(QStringLiteral("ｴｸｽﾎﾟｰﾄ先の指定"));
    ASSERT_FALSE(exportDlg.isEmpty()) << "no export dialog";
    clickIn(exportDlg, 60, 150, 3);
    key(QStringLiteral("Down"));
    key(QStringLiteral("Return"));
    key(QStringLiteral("alt+o"));
    QThread::msleep(1600);

    // The page is in the database: the find for scripts lists it by title.
    const auto found =
        run(QStringLiteral(FOLIUM_BINARY),
            {QStringLiteral("--headless"), QStringLiteral("--find"), QStringLiteral("Filed"),
             QStringLiteral("--db"), db, QStringLiteral("--titles")},
            env_);
    ASSERT_TRUE(found.has_value());
    EXPECT_TRUE(found->contains(QStringLiteral("1000")) && found->contains(u"Filed page"_qs))
        << found->toStdString();

    // Quit without saving the page to a file.
    clickIn(window, 700, 400);
    key(QStringLiteral("alt+f"));
    key(QStringLiteral("x"));
    QThread::msleep(1600);
    key(QStringLiteral("alt+n"));
    ASSERT_TRUE(app_.waitForFinished(20000)) << "the program did not end";

    // Start again: the database is connected; "ｲﾝﾎﾟｰﾄ" is the third item.
    window = startApp();
    ASSERT_FALSE(window.isEmpty());
    clickIn(window, 700, 400);
    key(QStringLiteral("alt+b"));
    key(QStringLiteral("Down"));
    key(QStringLiteral("Down"));
    key(QStringLiteral("Return"));
    const QString importDlg = windowNamed(QStringLiteral("既存文書からｲﾝﾎﾟｰﾄ"));
    ASSERT_FALSE(importDlg.isEmpty()) << "no import dialog";
    // The panel's title search ("文名", the second tab): the page by its title.
    clickIn(importDlg, 70, 11);
    type(QStringLiteral("Filed"));
    key(QStringLiteral("Return"));
    clickIn(importDlg, 60, 60);
    key(QStringLiteral("alt+o"));
    QThread::msleep(2000);

    // Saved to a file ("名を付けて保存(&A)", Ctrl+F4), the editor's document is
    // the page filed before.
    const QString file = home_ + QStringLiteral("/Documents/imported.doc");
    clickIn(window, 700, 400);
    key(QStringLiteral("ctrl+F4"));
    QThread::msleep(2000);
    type(file);
    key(QStringLiteral("Return"));
    ASSERT_TRUE(waitFor([&] { return QFile::exists(file); }, 10000))
        << QDir(home_ + QStringLiteral("/Documents"))
               .entryList(QDir::Files)
               .join(u' ')
               .toStdString();
    const QString out = TestEnv::freshDir(QStringLiteral("gui-import"));
    ASSERT_TRUE(run(QStringLiteral(FOLIUM_BINARY),
                    {QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                     QStringLiteral("txt"), QStringLiteral("--outdir"), out, file},
                    env_)
                    .has_value());
    const QString text =
        QString::fromUtf8(TestEnv::readFile(out + QStringLiteral("/imported.txt")));
    EXPECT_TRUE(text.contains(QStringLiteral("kept in the database"))) << text.toStdString();

    clickIn(window, 700, 400);
    key(QStringLiteral("alt+f"));
    key(QStringLiteral("x"));
    ASSERT_TRUE(app_.waitForFinished(20000)) << "the program did not end";
}

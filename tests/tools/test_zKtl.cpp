#include "ToolFixture.h"
#include "ToolRun.h"
#include "zKtlRecord.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QtEndian>

#include <unistd.h>

namespace {

QByteArray field(const QByteArray& text, int width) {
    return text + QByteArray(width - text.size(), ' ');
}

} // namespace

TEST(ToolRecord, BytesAsTheToolsReadThem) {
    zKtlRec::Record r;
    r.sSrc = QStringLiteral("/w/画像.png");
    r.sPattern = QStringLiteral("*.png");
    r.sResult = QStringLiteral("*.*");
    r.nWidth = 640;
    r.nHeight = -2;
    r.iFlag1 = 1;
    r.iFlag2 = -1;
    const QByteArray bytes = *zKtlRec::Encode(r);
    ASSERT_EQ(bytes.size(), 532);
    // CP932: 画 = 89 E6, 像 = 91 9C.
    EXPECT_EQ(bytes.left(255), field(QByteArray("/w/\x89\xE6\x91\x9C.png"), 255));
    EXPECT_EQ(bytes.mid(255, 10), field("*.png", 10));
    EXPECT_EQ(bytes.mid(265, 255), field("*.*", 255));
    EXPECT_EQ(bytes.mid(520), QByteArray::fromHex("80020000"
                                                  "feffffff"
                                                  "0100"
                                                  "ffff"));
    EXPECT_EQ(zKtlRec::Decode(bytes, zKtlRec::Kind::Image), r);

    r.kind = zKtlRec::Kind::Chart;
    const QByteArray chart = *zKtlRec::Encode(r);
    ASSERT_EQ(chart.size(), 522);
    EXPECT_EQ(chart.mid(520), QByteArray::fromHex("0100"));
    EXPECT_EQ(chart.left(520), bytes.left(520));

    // The tool's answer: a path ended by NUL, trailing spaces.
    QByteArray back = bytes;
    back.replace(265, 255, field(QByteArray("/w/out.png  \0junk", 17), 255));
    EXPECT_EQ(zKtlRec::Decode(back, zKtlRec::Kind::Image)->sResult, QStringLiteral("/w/out.png"));
    EXPECT_FALSE(zKtlRec::Decode(bytes.left(531), zKtlRec::Kind::Image));
}

TEST(ToolRecord, PathsThatWouldReachTheToolAlteredAreRefused) {
    zKtlRec::Record r;
    r.sSrc = QString(255, u'a');
    EXPECT_TRUE(zKtlRec::Encode(r));
    r.sSrc = QString(128, u'画'); // 256 bytes in CP932
    EXPECT_FALSE(zKtlRec::Encode(r));
    r.sSrc = QStringLiteral("/w/\U0001F600.png"); // no CP932 form
    EXPECT_FALSE(zKtlRec::Encode(r));
    r.sSrc.clear();
    r.sPattern = QStringLiteral("*.png;*.jpeg");
    EXPECT_FALSE(zKtlRec::Encode(r));
}

TEST(ToolTable, NamesLabelsAndFiles) {
    const QStringList names = {"Tarnel", "Danvek", "Pelion", "Orwent", "Sivane", "Morlet"};
    const QStringList labels = {QStringLiteral("画像"), QStringLiteral("ｸﾞﾗﾌ"),
                                QStringLiteral("ﾁｬｰﾄ"), QStringLiteral("FTP"),
                                QStringLiteral("宛名"), QStringLiteral("文書ﾃﾞｰﾀｰﾍﾞｰｽ")};
    for (int i = 0; i < zKtl::ToolCount; ++i) {
        EXPECT_EQ(zKtl::Name(i), names[i]);
        EXPECT_EQ(zKtl::Label(i), labels[i]);
    }
    EXPECT_EQ(zKtl::ParamFile(zKtl::Tarnel), QStringLiteral("PC_HT.pdat"));
    EXPECT_EQ(zKtl::ParamFile(zKtl::Danvek), QStringLiteral("GR_HT.pdat"));
    EXPECT_EQ(zKtl::ParamFile(zKtl::Pelion), QStringLiteral("CH_HT.pdat"));
}

TEST_F(ToolTest, ImageEditorFoundBesideTheProgramRunsOnTheRecord) {
    // A folder named after the tool, in another case, beside "prog".
    const QString exe = install(QStringLiteral("apps/tarnel"), QStringLiteral("Tarnel"));
    zKtl k;
    QString result;
    bool gf = false, ok = false;
    k.ActPic(1, Usr::sWrkFd, result, 120, 80, gf, ok);
    EXPECT_TRUE(prompter.calls.isEmpty()); // no dialog
    EXPECT_EQ(registered(zKtl::Tarnel), exe);
    EXPECT_EQ(k.Exe(zKtl::Tarnel), exe);

    const QByteArray sent = TestEnv::readFile(Usr::sWrkFd + QStringLiteral("PC_HT.pdat.in"));
    ASSERT_EQ(sent.size(), 532);
    EXPECT_EQ(sent.left(255), field(Usr::sWrkFd.toUtf8(), 255));
    EXPECT_EQ(sent.mid(255, 10), field("*.png", 10));
    EXPECT_EQ(sent.mid(265, 255), field("*.png", 255));
    EXPECT_EQ(qFromLittleEndian<qint32>(sent.constData() + 520), 120);
    EXPECT_EQ(qFromLittleEndian<qint32>(sent.constData() + 524), 80);
    EXPECT_EQ(sent.mid(528), QByteArray(4, '\0'));

    // The tool's answer, read back: a path with a space, both flags.
    EXPECT_EQ(result, Usr::sWrkFd + QStringLiteral("PC result.bmp"));
    EXPECT_TRUE(QFileInfo::exists(result));
    EXPECT_TRUE(gf);
    EXPECT_TRUE(ok);

    // Type 3 asks for any kind of result file.
    k.ActPic(3, Usr::sWrkFd, result, 0, 0, gf, ok);
    EXPECT_EQ(TestEnv::readFile(Usr::sWrkFd + QStringLiteral("PC_HT.pdat.in")).mid(265, 255),
              field("*.*", 255));

    // A work folder the record cannot be written to: the user is told and
    // the tool is not started.
    const QString log = root + QStringLiteral("/runs.log");
    qputenv("FOLIUM_STANDIN_LOG", log.toLocal8Bit());
    Usr::sWrkFd = root + QStringLiteral("/no such folder/");
    prompter.answerMessage(Prompter::Answer::Ok);
    k.ActPic(1, Usr::sWrkFd, result, 0, 0, gf, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("ﾊﾟﾗﾒﾀﾌｧｲﾙを作成できませんでした")});
    EXPECT_FALSE(QFileInfo::exists(log));
}

TEST_F(ToolTest, GraphAndChartEditorsGetTheirRecords) {
    install(QStringLiteral("apps/Danvek"), QStringLiteral("Danvek"));
    install(QStringLiteral("apps/Pelion"), QStringLiteral("Pelion"));
    zKtl k;
    QString result = QStringLiteral("ignored for the graph");
    bool ok = false;
    k.ActGrph(Usr::sWrkFd, result, ok);
    const QByteArray graph = TestEnv::readFile(Usr::sWrkFd + QStringLiteral("GR_HT.pdat.in"));
    ASSERT_EQ(graph.size(), 522);
    EXPECT_EQ(graph.mid(255, 10), field("*.bmp", 10));
    EXPECT_EQ(graph.mid(265, 255), field("", 255));
    EXPECT_EQ(graph.mid(520), QByteArray(2, '\0'));
    EXPECT_TRUE(ok);
    EXPECT_EQ(result, Usr::sWrkFd + QStringLiteral("GR result.bmp"));

    result = Usr::sWrkFd + QStringLiteral("old chart.bmp");
    k.ActChrt(Usr::sWrkFd, result, ok);
    const QByteArray chart = TestEnv::readFile(Usr::sWrkFd + QStringLiteral("CH_HT.pdat.in"));
    EXPECT_EQ(chart.mid(265, 255), field((Usr::sWrkFd + "old chart.bmp").toUtf8(), 255));
    EXPECT_TRUE(ok);
    EXPECT_EQ(result, Usr::sWrkFd + QStringLiteral("CH result.bmp"));

    // A tool that leaves the record as it was reports no success.
    qputenv("FOLIUM_STANDIN_FAIL", "1");
    result.clear();
    k.ActGrph(Usr::sWrkFd, result, ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(result, QString());
}

TEST_F(ToolTest, ARegisteredPathThatIsNoLongerTheToolAsksAgain) {
    const QString other = install(QStringLiteral("elsewhere"), QStringLiteral("Other"));
    Registry::SaveSetting(zKtl::Section(), zKtl::Name(zKtl::Tarnel), other);
    Registry::SaveSetting(zKtl::Section(), zKtl::Name(zKtl::Danvek),
                          root + QStringLiteral("/gone/Danvek"));
    zKtl k;
    EXPECT_EQ(k.Exe(zKtl::Tarnel), QString());
    EXPECT_EQ(k.Exe(zKtl::Danvek), QString());

    // Nothing near the program: the user is asked; a file of another name
    // does not count and leaves the registry as it was.
    prompter.answerOpenFile(other);
    EXPECT_FALSE(k.bChkApp(zKtl::Danvek));
    ASSERT_EQ(prompter.calls.size(), 1);
    EXPECT_EQ(prompter.calls[0].kind, QStringLiteral("openFile"));
    EXPECT_EQ(prompter.calls[0].title, QStringLiteral("ｸﾞﾗﾌ 実行ﾌｧｲﾙの指定"));
    EXPECT_EQ(registered(zKtl::Danvek), root + QStringLiteral("/gone/Danvek"));

    const QString chosen = install(QStringLiteral("my tools"), QStringLiteral("danvek"));
    prompter.answerOpenFile(chosen);
    EXPECT_TRUE(k.bChkApp(zKtl::Danvek));
    EXPECT_EQ(registered(zKtl::Danvek), chosen);
    // Known now: no second question.
    EXPECT_TRUE(k.bChkApp(zKtl::Danvek));
    EXPECT_EQ(prompter.calls.size(), 2);
    EXPECT_EQ(zKtl().Exe(zKtl::Danvek), chosen);

    // Cancelling the question runs nothing.
    prompter.answerOpenFile(QString());
    QString result;
    bool gf = true, ok = true;
    k.ActPic(0, Usr::sWrkFd, result, 0, 0, gf, ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(QFileInfo::exists(Usr::sWrkFd + QStringLiteral("PC_HT.pdat")));
}

TEST_F(ToolTest, TheSearchStaysInTheNamedFoldersAndTakesOnlyExecutables) {
    QString parent, found;
    // Two levels below a sibling of the parent: too deep.
    install(QStringLiteral("side/a/b/Tarnel"), QStringLiteral("Tarnel"));
    // Named after the tool but holding a plain file, or a folder.
    TestEnv::writeFile(root + QStringLiteral("/apps/Tarnel/Tarnel"), "not a program");
    QDir().mkpath(root + QStringLiteral("/side/Tarnel/Tarnel"));
    zKtl::GetExePh(parent, zKtl::Name(0), zKtl::ExeName(0), found);
    EXPECT_EQ(parent, root + QStringLiteral("/apps"));
    EXPECT_EQ(found, QString());

    // A sibling of the parent, and a folder one level below such a sibling.
    const QString inSibling = install(QStringLiteral("Danvek"), QStringLiteral("Danvek"));
    zKtl::GetExePh(parent, zKtl::Name(1), zKtl::ExeName(1), found);
    EXPECT_EQ(found, inSibling);
    const QString below = install(QStringLiteral("side/Pelion"), QStringLiteral("Pelion"));
    zKtl::GetExePh(parent, zKtl::Name(2), zKtl::ExeName(2), found);
    EXPECT_EQ(found, below);
}

TEST_F(ToolTest, TheDatabaseToolGetsEachArgumentWhole) {
    install(QStringLiteral("apps/Morlet"), QStringLiteral("Morlet"));
    const QString log = root + QStringLiteral("/morlet.log");
    qputenv("FOLIUM_STANDIN_LOG", log.toLocal8Bit());
    const QString db = root + QStringLiteral("/my \"pages\"; touch x $(id).txdb");
    zKtl k;
    ASSERT_TRUE(k.ActKbs(db, QString()));
    ASSERT_TRUE(k.ActKbs(db, QStringLiteral("1001")));
    QElapsedTimer t;
    t.start();
    while (runs(log).size() < 2 && t.elapsed() < 10000)
        QThread::msleep(20);
    const QList<QStringList> got = runs(log);
    ASSERT_EQ(got.size(), 2);
    EXPECT_TRUE(got.contains(QStringList{db}));
    EXPECT_TRUE(got.contains(QStringList{db, QStringLiteral("1001")}));
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("x")));
}

namespace {
class Counting : public QWidget {
public:
    int keys = 0, paints = 0;

protected:
    void keyPressEvent(QKeyEvent*) override { ++keys; }
    void paintEvent(QPaintEvent*) override { ++paints; }
};
} // namespace

TEST_F(ToolTest, WhileAToolRunsTheWindowIsPaintedButTakesNoInput) {
    const QString exe = install(QStringLiteral("apps/Tarnel"), QStringLiteral("Tarnel"));
    qputenv("FOLIUM_STANDIN_DELAY_MS", "600");
    Counting w;
    w.resize(200, 100);
    w.show();
    QApplication::processEvents();
    const int paintsBefore = w.paints;
    bool waiting = false;
    QTimer::singleShot(200, &w, [&] {
        waiting = ToolRun::Waiting();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
        QApplication::sendEvent(&w, &press);
        w.repaint();
    });
    const ToolRun::Result r = ToolRun::RunAndWait(exe, {});
    EXPECT_TRUE(r.started);
    EXPECT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(waiting);
    EXPECT_EQ(w.keys, 0);
    EXPECT_GT(w.paints, paintsBefore);
    EXPECT_FALSE(ToolRun::Waiting());
    // The same key after the run arrives.
    QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
    QApplication::sendEvent(&w, &press);
    EXPECT_EQ(w.keys, 1);

    const ToolRun::Result missing = ToolRun::RunAndWait(root + QStringLiteral("/none"), {});
    EXPECT_FALSE(missing.started);
}

// A tool started by RunAndWait reads an empty input, never the input of the
// program that starts it (the terminal, or here a pipe holding a line).
TEST_F(ToolTest, AToolGetsNoneOfOurInput) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    ASSERT_EQ(::write(fds[1], "typed\n", 6), 6);
    ::close(fds[1]);
    const int savedIn = ::dup(0);
    ::dup2(fds[0], 0);
    ::close(fds[0]);
    const ToolRun::Result r =
        ToolRun::RunAndWait(QStringLiteral("/bin/sh"),
                            {QStringLiteral("-c"), QStringLiteral("read line; test -z \"$line\"")});
    ::dup2(savedIn, 0);
    ::close(savedIn);
    ASSERT_TRUE(r.finished);
    EXPECT_EQ(r.exitCode, 0);
}

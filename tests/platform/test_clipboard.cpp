// Clipboard file lists in the conventions of the desktop's file managers.
#include "FileClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

namespace {
const QStringList kPaths = {QStringLiteral("/tmp/a b/報告.doc"), QStringLiteral("/tmp/#1%.txt")};
}

TEST(FileClipboard, WritesEveryConventionForCutAndCopy) {
    std::unique_ptr<QMimeData> cut(FileClipboard::makeMimeData(kPaths, FileClipboard::kCut));
    EXPECT_EQ(cut->urls(),
              QList<QUrl>({QUrl::fromLocalFile(kPaths[0]), QUrl::fromLocalFile(kPaths[1])}));
    const QList<QByteArray> gnome =
        cut->data(QStringLiteral("x-special/gnome-copied-files")).split('\n');
    ASSERT_EQ(gnome.size(), 3);
    EXPECT_EQ(gnome[0], "cut");
    EXPECT_EQ(QUrl::fromEncoded(gnome[1]).toLocalFile(), kPaths[0]);
    EXPECT_EQ(cut->data(QStringLiteral("application/x-kde-cutselection")), "1");
    EXPECT_EQ(FileClipboard::parse(cut.get()).effect, FileClipboard::kCut);
    EXPECT_EQ(FileClipboard::parse(cut.get()).paths, kPaths);

    std::unique_ptr<QMimeData> copy(FileClipboard::makeMimeData(kPaths, FileClipboard::kCopy));
    EXPECT_TRUE(copy->data(QStringLiteral("x-special/gnome-copied-files")).startsWith("copy\n"));
    EXPECT_EQ(copy->data(QStringLiteral("application/x-kde-cutselection")), "0");
    EXPECT_EQ(FileClipboard::parse(copy.get()).effect, FileClipboard::kCopy);
}

TEST(FileClipboard, ReadsWhatOtherFileManagersWrite) {
    // GNOME's file manager: only its own format.
    QMimeData gnome;
    gnome.setData(QStringLiteral("x-special/gnome-copied-files"),
                  "cut\nfile:///tmp/a%20b/x.doc\nfile:///tmp/y.doc");
    FileClipboard::Content c = FileClipboard::parse(&gnome);
    EXPECT_EQ(c.effect, FileClipboard::kCut);
    EXPECT_EQ(c.paths,
              QStringList({QStringLiteral("/tmp/a b/x.doc"), QStringLiteral("/tmp/y.doc")}));

    // KDE's: a URI list and the cut marker ("0" for a copy).
    QMimeData kde;
    kde.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/k.doc"))});
    kde.setData(QStringLiteral("application/x-kde-cutselection"), "0");
    EXPECT_EQ(FileClipboard::parse(&kde).effect, FileClipboard::kCopy);
    kde.setData(QStringLiteral("application/x-kde-cutselection"), "1");
    EXPECT_EQ(FileClipboard::parse(&kde).effect, FileClipboard::kCut);

    // A bare URI list says nothing about the effect; remote URLs are no files.
    QMimeData bare;
    bare.setUrls({QUrl(QStringLiteral("https://example.com/a.doc")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/z.doc"))});
    c = FileClipboard::parse(&bare);
    EXPECT_EQ(c.effect, FileClipboard::kNone);
    EXPECT_EQ(c.paths, QStringList({QStringLiteral("/tmp/z.doc")}));
    EXPECT_TRUE(FileClipboard::parse(nullptr).paths.isEmpty());
}

TEST(FileClipboard, RoundTripsThroughTheSystemClipboard) {
    ASSERT_TRUE(FileClipboard::put(kPaths, FileClipboard::kCut));
    EXPECT_TRUE(FileClipboard::holdsFiles());
    EXPECT_EQ(FileClipboard::read().paths, kPaths);
    EXPECT_EQ(FileClipboard::read().effect, FileClipboard::kCut);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), kPaths.join(u'\n'));

    QGuiApplication::clipboard()->setText(QStringLiteral("plain text"));
    EXPECT_FALSE(FileClipboard::holdsFiles());
    EXPECT_FALSE(FileClipboard::put({}, FileClipboard::kCopy));
    FileClipboard::clear();
    EXPECT_FALSE(FileClipboard::holdsFiles());
}

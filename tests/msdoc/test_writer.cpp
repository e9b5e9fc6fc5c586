#include "Document.h"
#include "MsDoc.h"
#include "TestEnv.h"

#include <gtest/gtest.h>

using namespace model;

TEST(DocWriter, Smoke) {
    Document d;
    Paragraph p;
    CharFormat b;
    b.bold = true;
    p.addText(QStringLiteral("Hello "), {});
    p.addText(QStringLiteral("日本語 world"), b);
    d.lastSection().blocks.push_back(Block::makeParagraph(p));
    const QByteArray bytes = msdoc::write(d);
    TestEnv::writeFile(QStringLiteral("/tmp/msd/smoke.doc"), bytes);
    EXPECT_GT(bytes.size(), 1024);
}

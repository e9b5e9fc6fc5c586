#pragma once
// Helpers of the RTF tests: reading from text, writing and reading back, and
// a comparison that prints both models when they differ.

#include "Document.h"
#include "ModelBuild.h"
#include "ModelDump.h"
#include "Rtf.h"
#include "Text.h"

#include <gtest/gtest.h>

namespace rtftest {

inline model::Document readRtf(const QByteArray& bytes) {
    QString error;
    const auto d = rtf::read(bytes, &error);
    EXPECT_TRUE(d.has_value()) << error.toStdString();
    return d.value_or(model::Document());
}

inline model::Document roundTrip(const model::Document& d, QByteArray* written = nullptr) {
    QString error;
    const auto bytes = rtf::write(d, &error);
    EXPECT_TRUE(bytes.has_value()) << error.toStdString();
    if (written && bytes)
        *written = *bytes;
    return readRtf(bytes.value_or(QByteArray()));
}

inline std::string dump(const model::Document& d) {
    QString out;
    for (const model::Section& s : d.sections)
        out += QStringLiteral("--section %1x%2 m%3,%4,%5,%6 h%7 f%8 o%9 ")
                   .arg(s.page.width)
                   .arg(s.page.height)
                   .arg(s.page.marginLeft)
                   .arg(s.page.marginTop)
                   .arg(s.page.marginRight)
                   .arg(s.page.marginBottom)
                   .arg(s.page.headerDistance)
                   .arg(s.page.footerDistance)
                   .arg(int(s.page.orientation)) +
               QStringLiteral("start%1 title%2\n").arg(int(s.start)).arg(s.titlePage) +
               QStringLiteral("header:\n") + dumpBlocks(s.header) + QStringLiteral("footer:\n") +
               dumpBlocks(s.footer) + QStringLiteral("first header:\n") +
               dumpBlocks(s.firstHeader) + QStringLiteral("first footer:\n") +
               dumpBlocks(s.firstFooter) + QStringLiteral("body:\n") + dumpBlocks(s.blocks);
    return out.toStdString();
}

using modelbuild::oneSection;
using modelbuild::para;

// The first section's blocks.
inline const std::vector<model::Block>& body(const model::Document& d) {
    static const std::vector<model::Block> none;
    return d.sections.empty() ? none : d.sections.front().blocks;
}

#define EXPECT_SAME_DOC(a, b)                                                                      \
    do {                                                                                           \
        model::Document x_ = (a), y_ = (b);                                                        \
        model::normalize(x_);                                                                      \
        model::normalize(y_);                                                                      \
        EXPECT_TRUE(x_ == y_) << "expected:\n"                                                     \
                              << rtftest::dump(x_) << "actual:\n"                                  \
                              << rtftest::dump(y_);                                                \
    } while (false)

} // namespace rtftest

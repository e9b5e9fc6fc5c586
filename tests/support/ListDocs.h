#pragma once
// A document whose one list numbers each level its own way, with words
// around the numbers, for the readers', writers' and engine's list tests.

#include "ModelBuild.h"

#include <QStringList>

namespace listdocs {

// Level k of list 5 in the format and text given; one paragraph per level.
inline model::Document numberFormats() {
    using N = model::NumberFormat;
    model::ListDef def;
    def.id = 5;
    const std::pair<N, const char*> levels[] = {
        {N::Decimal, "Section %1."},     {N::DecimalEnclosedCircle, "%2"},
        {N::JapaneseCounting, "第%3章"}, {N::UpperRoman, "(%4)"},
        {N::LowerLetter, "%5)"},         {N::DecimalFullWidth, "%6．"},
        {N::IdeographDigital, "%7"},     {N::JapaneseLegal, "%8"},
        {N::UpperLetter, "%1.%9"}};
    std::vector<model::Block> blocks;
    for (int k = 0; k < 9; ++k) {
        model::ListLevel lv;
        lv.format = levels[k].first;
        lv.text = QString::fromUtf8(levels[k].second);
        lv.start = k == 1 ? 2 : 1;
        lv.indent = 420 * (k + 1);
        lv.hanging = 420;
        def.levels.push_back(lv);
        model::Paragraph p = modelbuild::para(QStringLiteral("level %1").arg(k));
        p.format.listId = def.id;
        p.format.listLevel = k;
        p.format.leftIndent = lv.indent;
        p.format.firstLineIndent = -lv.hanging;
        blocks.push_back(model::Block::makeParagraph(p));
    }
    model::Document d = modelbuild::oneSection(blocks);
    d.lists = {def};
    return d;
}

} // namespace listdocs

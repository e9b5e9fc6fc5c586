#pragma once
// The editor's paragraph styles 0 to 5 by name. A paragraph keeps its style's
// name (ParaFormat::styleName) so that it survives a trip through a file.

#include <QStringList>

namespace model {

// Style numbers 0..5: page heading, heading 2, heading 3, body, emphasis,
// supplement.
const QStringList& editorStyleNames();
// The name of style `number`; empty for numbers outside 0..5.
QString editorStyleName(int number);
// The number of the editor style called `name`, -1 when it is none of them.
int editorStyleNumber(const QString& name);

} // namespace model

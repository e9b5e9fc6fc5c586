#pragma once
// The editor's field kind (1 link or data field, 2 tag) and option (149) have
// no place in Word's field records. The writer keeps them in a small stream
// of its own beside the document streams ("FoliumFields": one line "kind
// option" per field, in writing order); other programs ignore it. When the
// stream is missing or does not match the fields read (the file was edited
// elsewhere), hyperlinks keep the kind derived from their target.

#include <QByteArray>

#include <vector>

namespace model {
struct Document;
}

namespace msdoc {

constexpr char kFieldKindStream[] = "FoliumFields";

// `kinds` holds kind * 1000 + option per field.
QByteArray fieldKindStream(const std::vector<int>& kinds);
void applyFieldKinds(model::Document& doc, const QByteArray& stream);

} // namespace msdoc

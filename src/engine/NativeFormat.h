#pragma once
// The engine's native format (format 3): everything a TxDocument holds,
// exactly, for undo snapshots and the clipboard.
//
// Layout: the 8 bytes "FOLIUMTX", a big-endian 32-bit version, then a
// QDataStream (Qt 6.4 encoding) with the page setup, image bytes, list
// definitions, every QTextDocument (formats as QTextFormat, then blocks,
// runs and tables), frames, positioned images, bookmarks and sections.
// Readers refuse newer versions and damaged data without touching the
// target.

#include <QByteArray>
#include <QString>

class TxDocument;

namespace native {

constexpr quint32 kVersion = 1;

QByteArray save(const TxDocument& doc);

// Replaces `out`'s content. False (and `out` untouched) when the bytes are
// not a native document this version can read.
bool load(const QByteArray& bytes, TxDocument& out, QString* error = nullptr);

// True when the bytes start like a native document.
bool looksNative(const QByteArray& bytes);

} // namespace native

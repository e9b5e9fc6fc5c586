#pragma once
// The ten node images of the page tree, drawn with QPainter: pages (N),
// links (L) and tag reminders (X), each as a leaf, collapsed, expanded or
// code page.

#include <QIcon>
#include <QString>

namespace NodeImages {

// The icon of an image key ("ndlef", "lkopn", "tgcls", ...); a null icon
// for an unknown key. Icons are drawn once and shared.
QIcon Icon(const QString& sImgKy);

// Every image key, in the order of the image list.
QStringList Keys();

} // namespace NodeImages

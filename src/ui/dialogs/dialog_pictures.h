#pragma once
// The dialogs' pictures, drawn for this program as SVG and compiled in.
#include <QPixmap>
#include <QSize>
#include <QString>

namespace serenitap {

// The picture at a resource path (":/dialogs/...svg") drawn at size
// (device-independent pixels), sharp on high-density screens.
QPixmap DialogPicture(const QString& path, QSize size, qreal devicePixelRatio = 1.0);

}  // namespace serenitap

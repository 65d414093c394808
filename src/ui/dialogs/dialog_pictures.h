#pragma once
// The dialogs' pictures, drawn for this program as SVG and compiled in.
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace serenitap {

// The picture at a resource path (":/dialogs/...svg") drawn at size
// (device-independent pixels), sharp on high-density screens.
QPixmap DialogPicture(const QString& path, QSize size, qreal devicePixelRatio = 1.0);

// An icon from the SVG picture at a resource path (":/icons/...svg"), drawn at
// each size and in each mode it is asked for exactly as the toolkit's SVG icon
// engine draws it, without that engine: a plugin loaded for the icons alone,
// whose code and cache stay in memory. Nothing drawn is kept.
QIcon SvgIcon(const QString& path);

}  // namespace serenitap

#pragma once
// The dialogs' pictures, drawn for this program as SVG and compiled in.
//
// Their drawings use more of SVG (gradients, text) than the program draws
// itself (ui/svg_drawing.h), so the toolkit's SVG renderer draws them. It
// lives in a module of its own (serenitap_pictures, dialog_pictures_module.cpp),
// loaded the first time a dialog shows a picture: the main window, which never
// does, starts and runs without that library.
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace serenitap {

struct FilledDrawing;

// The picture at a resource path (":/dialogs/...svg") drawn at size
// (device-independent pixels), sharp on high-density screens. Without the
// module (a broken install), a transparent picture of that size.
QPixmap DialogPicture(const QString& path, QSize size, qreal devicePixelRatio = 1.0);

// An icon from the SVG picture at a path (a file or a resource), drawn at
// each size and in each mode it is asked for exactly as the toolkit's SVG icon
// engine draws it, without that engine: a plugin loaded for the icons alone,
// whose code and cache stay in memory. Nothing drawn is kept. The file must be
// one the program draws itself (SvgDrawing); otherwise the icon is empty.
QIcon SvgIcon(const QString& path);
// The same icon from a filled drawing of the program's (which must outlive it).
QIcon DrawingIcon(const FilledDrawing& drawing);

struct DialogPicturesModule {
  // Draws the SVG file at path into pixmap, its whole area, keeping the
  // drawing's proportions; false when the file cannot be drawn.
  bool (*draw)(const QString& path, QPixmap& pixmap, QSizeF size);
};

// The module's one exported function returns its table under this name.
inline constexpr char kDialogPicturesEntry[] = "SerenitapDialogPictures";
using DialogPicturesEntry = const DialogPicturesModule* (*)();

// Tests and tools that link the pictures (serenitap_pictures_linked) hand them
// over with LinkedDialogPictures(); null goes back to loading the module.
void UseDialogPictures(const DialogPicturesModule* linked);
const DialogPicturesModule* LinkedDialogPictures();

}  // namespace serenitap

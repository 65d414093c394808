#pragma once
// The control kinds of the main window that Qt has no ready widget for: a
// container that shows a picture behind its children, a round dot, and a
// text with one line in bold.
#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QWidget>

#include "ui/svg_drawing.h"

namespace serenitap::main_window {

// A plain container with a background colour and, optionally, one of the
// program's pictures stretched over its whole area.
class PictureBox : public QWidget {
  Q_OBJECT
 public:
  explicit PictureBox(QWidget* parent = nullptr);
  // Sets the picture, one of the built ones (built_pictures.h); null removes it.
  void SetPicture(const FilledDrawing* drawing);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const FilledDrawing* drawing_ = nullptr;
};

// A frame around a group of choices (the issues, the rating scale): a
// grouping to a screen reader, not a window.
class ChoiceGroup : public QFrame {
  Q_OBJECT
 public:
  explicit ChoiceGroup(QWidget* parent = nullptr);
};

// "Paused" in the status strip while the session is paused; a screen reader
// hears it as an alert when it appears.
class PausedSign : public QLabel {
  Q_OBJECT
 public:
  explicit PausedSign(QWidget* parent = nullptr);

 protected:
  void showEvent(QShowEvent* event) override;
};

// A filled circle with a border, lying on a picture. It lets clicks through
// to the picture beneath it.
class DotShape : public QWidget {
  Q_OBJECT
 public:
  explicit DotShape(QWidget* parent = nullptr);
  void SetColors(const QColor& fill, const QColor& border);
  QColor FillColor() const { return fill_; }
  QColor BorderColor() const { return border_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QColor fill_;
  QColor border_;
};

// A label of plain text, wrapped at words, with one of its lines (up to a
// line break) in bold: the statements to repeat with the one to say now. It
// looks as Qt's rich text shows the same text in bold tags, pixel for pixel
// (a test compares the two), without Qt's rich text engine, whose HTML
// parser, style sheets and document layout would be loaded for this alone
// (450 KiB of code).
class BoldLineLabel : public QLabel {
  Q_OBJECT
 public:
  explicit BoldLineLabel(QWidget* parent = nullptr);
  // The line shown in bold, counted from 0; -1 for none, a plain label.
  void SetBoldLine(int line);
  int BoldLine() const { return boldLine_; }
  // The room the text takes in font at width, as Qt's rich text measures it
  // (which, unlike the label, breaks a word longer than the width).
  QSize NeededSize(const QFont& font, int width) const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  int boldLine_ = -1;
};

}  // namespace serenitap::main_window

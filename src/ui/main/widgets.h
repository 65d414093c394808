#pragma once
// The two control kinds of the main window that Qt has no ready widget for:
// a container that shows a picture behind its children, and a round dot.
#include <QColor>
#include <QFrame>
#include <QLabel>
#include <QWidget>
#include <optional>

#include "ui/svg_drawing.h"

namespace serenitap::main_window {

// A plain container with a background colour and, optionally, an SVG picture
// stretched over its whole area.
class PictureBox : public QWidget {
  Q_OBJECT
 public:
  explicit PictureBox(QWidget* parent = nullptr);
  // Sets the picture from a resource path; an empty path removes it. The file
  // is read when the picture is first drawn or asked about, so pictures that
  // are hidden at start cost nothing. Returns whether a picture is set.
  bool SetPicture(const QString& path);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const std::optional<SvgDrawing>& Drawing() const;

  QString path_;
  mutable bool loaded_ = true;
  mutable std::optional<SvgDrawing> drawing_;
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

}  // namespace serenitap::main_window

#pragma once
// The two control kinds of the main window that Qt has no ready widget for:
// a container that shows a picture behind its children, and a round dot.
#include <QColor>
#include <QSvgRenderer>
#include <QWidget>

namespace serenitap::main_window {

// A plain container with a background colour and, optionally, an SVG picture
// stretched over its whole area.
class PictureBox : public QWidget {
  Q_OBJECT
 public:
  explicit PictureBox(QWidget* parent = nullptr);
  // Loads the picture from a resource path; an empty path removes it.
  bool SetPicture(const QString& path);
  bool HasPicture() const { return renderer_.isValid(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSvgRenderer renderer_;
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

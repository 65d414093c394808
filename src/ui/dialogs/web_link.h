#pragma once
// Web links of the dialogs: labels that open an address when clicked, the
// markup some of them are written in, and the one way they open a page.
#include <QLabel>
#include <QString>
#include <functional>
#include <string_view>

#include "services/shell.h"

namespace serenitap {

// What opens a web page for a window; OpenWebPage unless replaced.
using WebPageOpener = std::function<void(WindowHandle window, std::string_view address, bool asIs)>;
// Replaces the opener and returns the one it replaces; an empty one restores
// OpenWebPage.
WebPageOpener SetWebPageOpener(WebPageOpener opener);
// Opens address on behalf of window (its native handle is passed on).
void OpenWebPageFor(QWidget* window, std::string_view address, bool asIs);

// Turns the labels' markup (<TextBlock> holding text and <Run> elements with
// Foreground and TextDecorations attributes) into Qt rich text.
QString MarkupToRichText(const QString& markup);

// A label that can be clicked, a link to a screen reader and a Tab stop that
// Space and Enter click. Its "Tag" property holds the address it opens.
class ClickLabel : public QLabel {
  Q_OBJECT

 public:
  explicit ClickLabel(QWidget* parent = nullptr);
  QString Tag() const;
  void SetTag(const QString& tag);

 signals:
  void Clicked();

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool pressed_ = false;
};

}  // namespace serenitap

#include "ui/dialogs/web_link.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QRegularExpression>
#include <utility>

#include "ui/dialogs/accessible_role.h"

namespace serenitap {
namespace {

WebPageOpener& Opener() {
  static WebPageOpener opener = OpenWebPage;
  return opener;
}

QString RunStyle(const QString& attributes) {
  static const QRegularExpression attribute(QStringLiteral(R"re((\w+)\s*=\s*"([^"]*)")re"));
  QStringList style;
  for (auto it = attribute.globalMatch(attributes); it.hasNext();) {
    const auto match = it.next();
    const QString name = match.captured(1);
    const QString value = match.captured(2);
    if (name == QLatin1String("Foreground")) style << QStringLiteral("color:%1").arg(value.toLower());
    if (name == QLatin1String("TextDecorations")) {
      style << QStringLiteral("text-decoration:%1")
                   .arg(value.compare(QLatin1String("Strikethrough"), Qt::CaseInsensitive) == 0
                            ? QStringLiteral("line-through")
                            : value.toLower());
    }
    if (name == QLatin1String("FontWeight")) style << QStringLiteral("font-weight:%1").arg(value.toLower());
  }
  return style.join(QLatin1Char(';'));
}

}  // namespace

WebPageOpener SetWebPageOpener(WebPageOpener opener) {
  WebPageOpener previous = std::move(Opener());
  Opener() = opener ? std::move(opener) : WebPageOpener(OpenWebPage);
  return previous;
}

void OpenWebPageFor(QWidget* window, std::string_view address, bool asIs) {
  const WindowHandle handle = window != nullptr ? static_cast<WindowHandle>(window->window()->winId()) : 0;
  Opener()(handle, address, asIs);
}

QString MarkupToRichText(const QString& markup) {
  static const QRegularExpression element(QStringLiteral(R"re(<(/?)(\w+)([^>]*)>)re"));
  QString html;
  qsizetype at = 0;
  for (auto it = element.globalMatch(markup); it.hasNext();) {
    const auto match = it.next();
    html += markup.mid(at, match.capturedStart() - at).toHtmlEscaped();
    at = match.capturedEnd();
    const bool closing = !match.captured(1).isEmpty();
    const QString name = match.captured(2);
    if (name == QLatin1String("Run")) {
      html +=
          closing ? QStringLiteral("</span>") : QStringLiteral("<span style=\"%1\">").arg(RunStyle(match.captured(3)));
    } else if (name == QLatin1String("LineBreak")) {
      html += QStringLiteral("<br>");
    }
    // <TextBlock> only frames the text.
  }
  html += markup.mid(at).toHtmlEscaped();
  return html;
}

ClickLabel::ClickLabel(QWidget* parent) : QLabel(parent) {
  setCursor(Qt::PointingHandCursor);
  // A link: Tab reaches it, Space and Enter open it, a screen reader names it so.
  setFocusPolicy(Qt::TabFocus);
  SetAccessibleRole(this, QAccessible::Link);
}

void ClickLabel::keyPressEvent(QKeyEvent* event) {
  const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
  if (plain && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
    emit Clicked();
    return;
  }
  QLabel::keyPressEvent(event);
}

QString ClickLabel::Tag() const { return property("Tag").toString(); }

void ClickLabel::SetTag(const QString& tag) { setProperty("Tag", tag); }

void ClickLabel::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  QLabel::mousePressEvent(event);
}

void ClickLabel::mouseReleaseEvent(QMouseEvent* event) {
  const bool click = pressed_ && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint());
  pressed_ = false;
  QLabel::mouseReleaseEvent(event);
  if (click) emit Clicked();
}

}  // namespace serenitap

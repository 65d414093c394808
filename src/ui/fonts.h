#pragma once
// The program's pictures of text are designed for Segoe UI and MS Sans Serif.
// Where those are missing, families with nearly the same widths stand in, so
// that every text still fits where it was meant to.
#include <QFont>
#include <QStringList>
#include <functional>
#include <string_view>
#include <utility>

namespace serenitap {

// The design family first, then families of close metrics found on common
// desktops (Liberation Sans and Arimo share Arial's widths, Carlito
// Calibri's), DejaVu Sans last.
inline QStringList FamiliesFor(std::string_view designFamily) {
  const QString design = QString::fromUtf8(designFamily.data(), static_cast<qsizetype>(designFamily.size()));
  if (designFamily == "Segoe UI") {
    return {design,
            QStringLiteral("Selawik"),
            QStringLiteral("Liberation Sans"),
            QStringLiteral("Arimo"),
            QStringLiteral("Arial"),
            QStringLiteral("Carlito"),
            QStringLiteral("DejaVu Sans")};
  }
  if (designFamily == "MS Sans Serif") {
    return {design,
            QStringLiteral("Microsoft Sans Serif"),
            QStringLiteral("Liberation Sans"),
            QStringLiteral("Arimo"),
            QStringLiteral("Arial"),
            QStringLiteral("DejaVu Sans")};
  }
  return {design};
}

inline QFont DesignFont(std::string_view designFamily) {
  QFont font;
  font.setFamilies(FamiliesFor(designFamily));
  return font;
}

// The program may read the system's font configuration ahead, on a thread of
// its own (app/font_warm_up.h), and leaves here how to wait for it. Whatever
// shows the first text waits before it makes a control or lays out text:
// fontconfig must not be read by two threads at once. Nothing is waited for
// when nothing was left.
inline std::function<void()>& FontConfigurationWait() {
  static std::function<void()> wait;
  return wait;
}

inline void WaitForFontConfiguration() {
  if (std::function<void()> wait = std::exchange(FontConfigurationWait(), nullptr)) wait();
}

}  // namespace serenitap

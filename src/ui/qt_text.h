#pragma once
// Conversions between the core's UTF-8 texts and Qt's strings.
#include <QString>
#include <string>
#include <string_view>

namespace serenitap {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) { return text.toUtf8().toStdString(); }

}  // namespace serenitap

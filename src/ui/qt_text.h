#pragma once
// Text between the core and Qt: the core's texts are UTF-8 with CR LF line
// ends, Qt's strings are UTF-16 and its widgets break lines at LF.
#include <QString>
#include <string>
#include <string_view>

namespace serenitap {

inline QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) { return text.toUtf8().toStdString(); }

// A core text for a label or text field: CR LF becomes LF.
inline QString ForDisplay(std::string_view text) {
  return ToQString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A caption without its access-key marker, as a screen reader should say it:
// "&Close" gives "Close"; "&&" stands for one ampersand.
inline QString WithoutAccessKey(const QString& caption) {
  QString plain;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == QLatin1Char('&')) {
      if (i + 1 < caption.size() && caption[i + 1] == QLatin1Char('&')) {
        plain += QLatin1Char('&');
        ++i;
      }
      continue;
    }
    plain += caption[i];
  }
  return plain;
}

}  // namespace serenitap

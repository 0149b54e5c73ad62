#pragma once
// Where the core's single-byte texts leave for the screen, stdout or a file:
// the core keeps Latin-1 (0xB5 micro, 0xB0 degree), Qt keeps QString and
// stdout, CSV and SVG want UTF-8. Characters outside Latin-1 coming back
// from Qt become '?'.

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

#include "base/latin1.h"

namespace ql {

inline QString FromLatin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToLatin1(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

inline std::string QStringToUtf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace ql

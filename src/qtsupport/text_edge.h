#pragma once
// Where the core's single-byte texts leave for the screen, stdout or a file:
// the core keeps Latin-1 (0xB5 micro, 0xB0 degree), Qt keeps QString and
// stdout, CSV and SVG want UTF-8. Characters outside Latin-1 coming back
// from Qt become '?'.

#include <QByteArray>
#include <QString>

#include <string>
#include <string_view>

namespace ql {

inline QString FromLatin1(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToLatin1(const QString& text) {
  const QByteArray bytes = text.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

// Every byte is one Latin-1 character; bytes from 0x80 take two UTF-8 bytes.
inline std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x80) {
      out.push_back(c);
    } else {
      out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
      out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
    }
  }
  return out;
}

inline std::string QStringToUtf8(const QString& text) {
  const QByteArray bytes = text.toUtf8();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace ql

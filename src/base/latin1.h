#pragma once
// The core keeps texts as single-byte Latin-1 (0xB5 micro, 0xB0 degree);
// where they leave for stdout, files or dumps they become UTF-8.

#include <string>
#include <string_view>

namespace ql {

// Appends the one Latin-1 character `byte` to `out` as UTF-8.
inline void AppendLatin1AsUtf8(std::string& out, unsigned char byte) {
  if (byte < 0x80) {
    out.push_back(static_cast<char>(byte));
  } else {
    out.push_back(static_cast<char>(0xC0 | (byte >> 6)));
    out.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
  }
}

// Every byte is one Latin-1 character; bytes from 0x80 take two UTF-8 bytes.
inline std::string Latin1ToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) AppendLatin1AsUtf8(out, static_cast<unsigned char>(c));
  return out;
}

}  // namespace ql

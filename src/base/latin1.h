#pragma once
// The core keeps texts as single-byte Latin-1 (0xB5 micro, 0xB0 degree);
// where they leave for stdout, files or dumps they become UTF-8, and UTF-8
// that comes back (from the journal) becomes Latin-1 again.

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

// Appends UTF-8 `text` to `out` as Latin-1: a character above U+00FF, or a
// byte that is no well-formed UTF-8, becomes '?'. Exact for every text that
// Latin1ToUtf8 made.
inline void AppendUtf8AsLatin1(std::string& out, std::string_view text) {
  // Most texts are ASCII to the end, or to the micro sign of their unit.
  std::size_t ascii = 0;
  while (ascii < text.size() && static_cast<unsigned char>(text[ascii]) < 0x80) ++ascii;
  out.append(text.data(), ascii);
  for (std::size_t i = ascii; i < text.size(); ++i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      out.push_back(static_cast<char>(lead));
      continue;
    }
    std::size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (extra == 1 && lead >= 0xC2 && lead <= 0xC3 && i + 1 < text.size() &&
        (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
      out.push_back(static_cast<char>(((lead & 0x03) << 6) |
                                      (static_cast<unsigned char>(text[i + 1]) & 0x3F)));
      ++i;
      continue;
    }
    // Skip the continuation bytes of a character Latin-1 cannot hold.
    while (extra > 0 && i + 1 < text.size() &&
           (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
      ++i;
      --extra;
    }
    out.push_back('?');
  }
}

}  // namespace ql

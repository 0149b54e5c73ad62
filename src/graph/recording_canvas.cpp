#include "graph/recording_canvas.h"

#include <cstdio>

#include "base/latin1.h"

namespace ql {
namespace {

std::string Point(int x, int y) { return std::to_string(x) + ' ' + std::to_string(y); }

}  // namespace

std::string FormatRgb(Rgb colour) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "#%02X%02X%02X", colour.r, colour.g, colour.b);
  return buffer;
}

std::string QuoteDumpText(std::string_view text) {
  std::string quoted = "\"";
  for (char ch : text) {
    auto byte = static_cast<unsigned char>(ch);
    if (ch == '"' || ch == '\\') {
      quoted += '\\';
      quoted += ch;
    } else if (ch == '\n') {
      quoted += "\\n";
    } else if (ch == '\r') {
      quoted += "\\r";
    } else if (ch == '\t') {
      quoted += "\\t";
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[5];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      quoted += escape;
    } else {
      AppendLatin1AsUtf8(quoted, byte);
    }
  }
  quoted += '"';
  return quoted;
}

void RecordingCanvas::FillRect(int x1, int y1, int x2, int y2, Rgb fill) {
  ops_.push_back("rect " + Point(x1, y1) + ' ' + Point(x2, y2) + ' ' + FormatRgb(fill));
}

void RecordingCanvas::MoveTo(int x, int y) { ops_.push_back("moveto " + Point(x, y)); }

void RecordingCanvas::LineTo(int x, int y) { ops_.push_back("lineto " + Point(x, y)); }

void RecordingCanvas::SetPixel(int x, int y, Rgb colour) {
  ops_.push_back("pixel " + Point(x, y) + ' ' + FormatRgb(colour));
}

void RecordingCanvas::Text(int x, int y, std::string_view text) {
  ops_.push_back("text " + Point(x, y) + ' ' + QuoteDumpText(text));
}

void RecordingCanvas::VerticalText(int x, int y, std::string_view text) {
  ops_.push_back("vtext " + Point(x, y) + ' ' + QuoteDumpText(text));
}

void RecordingCanvas::SetTransparentText(bool transparent) {
  ops_.push_back(transparent ? "bkmode transparent" : "bkmode opaque");
}

void RecordingCanvas::SetBackgroundColour(Rgb colour) {
  ops_.push_back("bkcolor " + FormatRgb(colour));
}

}  // namespace ql

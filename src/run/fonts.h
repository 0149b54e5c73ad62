#pragma once
// Fonts as descriptions: the view says what it wants, the faces realise it
// (Courier New resolves to a metric-compatible monospace face).

namespace ql {

inline constexpr int kAnsiCharset = 0;
inline constexpr int kGreekCharset = 161;

struct FontDesc {
  const char* face = "Courier New";
  int height = 0;      // character cell height in pixels
  int width = 0;       // average character width in pixels
  int escapement = 0;  // tenths of a degree; 900 reads bottom to top
  int weight = 400;    // 400 normal, 700 bold
  int charset = kAnsiCharset;
  friend bool operator==(const FontDesc&, const FontDesc&) = default;
};

inline constexpr FontDesc kPanelFont{"Courier New", 80, 40, 0, 700, kAnsiCharset};
inline constexpr FontDesc kLargeFont{"Courier New", 40, 20, 0, 700, kAnsiCharset};
inline constexpr FontDesc kLargeGreekFont{"Courier New", 40, 20, 0, 700, kGreekCharset};
inline constexpr FontDesc kVerticalFont{"Courier New", 13, 10, 900, 600, kGreekCharset};
inline constexpr FontDesc kListFont{"Courier New", 14, 10, 0, 600, kGreekCharset};

}  // namespace ql

#include "graph/graph_picture.h"
#include "graph/panel_geometry.h"

namespace ql {

void ApplyPictureMarker(GraphPicture& picture) {
  unsigned sum = 0;
  for (std::size_t k = 276; k <= 285; ++k) sum += picture[k];
  if (sum % 256 != 0) {
    picture[194] |= 0x01;
    picture[195] |= 0x01;
    picture[322] |= 0x02;
    picture[450] |= 0x08;
    picture[578] |= 0x20;
    picture[706] |= 0x80;
  }
  picture[66] = 0;
}

void DrawGraphFile(Canvas& canvas, GraphPicture& picture) {
  canvas.FillRect(0, 0, panel::kRight, panel::kBottom, kGreen);
  ApplyPictureMarker(picture);
  for (int band = 0; band <= 6; ++band) {
    const int rows = band == 6 ? 3 : 8;
    const std::size_t bandStart = 2 + 128 * static_cast<std::size_t>(band);
    for (int column = 1; column <= 127; ++column) {
      const unsigned dots = picture[bandStart + static_cast<std::size_t>(column)];
      for (int bit = 0; bit < rows; ++bit) {
        if ((dots >> bit & 1u) == 0) continue;
        const int x = 36 + 3 * column;
        const int y = 7 + 24 * band + 3 * bit;
        canvas.FillRect(x, y, x + 3, y + 3, kBlue);
      }
    }
  }
}

}  // namespace ql

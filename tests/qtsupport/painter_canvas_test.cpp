// The canvas on QPainter in panel pixels: rectangles exclude their right and
// bottom edges and are outlined inside them, lines leave out their end
// point, texts sit by their top-left corner on an opaque or transparent
// background; and in twips, where y grows upward and (x, y) lands x/1440
// inch right of and -y/1440 inch below the origin.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

#include "qtsupport/painter_canvas.h"
#include "qtsupport/twips_canvas.h"

namespace ql {
namespace {

// The image as rows of characters: '.' white, '#' black, 'g' green,
// 'b' blue, '?' anything else.
std::vector<std::string> Picture(const QImage& image) {
  std::vector<std::string> rows;
  for (int y = 0; y < image.height(); ++y) {
    std::string row;
    for (int x = 0; x < image.width(); ++x) {
      const QRgb pixel = image.pixel(x, y);
      row += pixel == qRgb(255, 255, 255) ? '.'
             : pixel == qRgb(0, 0, 0)     ? '#'
             : pixel == qRgb(0, 255, 0)   ? 'g'
             : pixel == qRgb(0, 0, 255)   ? 'b'
                                          : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

template <typename Draw>
QImage Paint(int width, int height, Draw draw) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  PainterCanvas canvas(painter);
  draw(canvas);
  return image;
}

TEST(PainterCanvas, RectangleIsOutlinedInsideItsExcludedEdges) {
  const QImage image = Paint(7, 6, [](Canvas& c) { c.FillRect(1, 1, 6, 5, kGreen); });
  EXPECT_EQ(Picture(image), (std::vector<std::string>{".......",  //
                                                      ".#####.",  //
                                                      ".#ggg#.",  //
                                                      ".#ggg#.",  //
                                                      ".#####.",  //
                                                      "......."}));
}

TEST(PainterCanvas, GraphFileDotIsBlackRingWithBlueCentre) {
  const QImage image = Paint(5, 5, [](Canvas& c) { c.FillRect(1, 1, 4, 4, kBlue); });
  EXPECT_EQ(Picture(image), (std::vector<std::string>{".....",  //
                                                      ".###.",  //
                                                      ".#b#.",  //
                                                      ".###.",  //
                                                      "....."}));
}

TEST(PainterCanvas, LinesLeaveOutTheirEndPoint) {
  const QImage image = Paint(8, 5, [](Canvas& c) {
    c.MoveTo(0, 0);
    c.LineTo(0, 4);  // vertical: rows 0 .. 3
    c.MoveTo(2, 0);
    c.LineTo(7, 3);  // slanted: the last pixel before (7, 3)
    c.MoveTo(2, 4);
    c.LineTo(3, 4);  // one step: only the start pixel
    c.MoveTo(5, 4);
    c.LineTo(5, 4);  // no length: nothing
  });
  EXPECT_EQ(Picture(image), (std::vector<std::string>{"#.##....",  //
                                                      "#...##..",  //
                                                      "#.....#.",  //
                                                      "#.......",  //
                                                      "..#....."}));
}

TEST(PainterCanvas, LineToContinuesFromTheLastEndPoint) {
  const QImage image = Paint(5, 3, [](Canvas& c) {
    c.MoveTo(0, 1);
    c.LineTo(2, 1);
    c.LineTo(4, 1);
  });
  EXPECT_EQ(Picture(image)[1], "####.");
}

TEST(PainterCanvas, PixelTakesItsColour) {
  const QImage image = Paint(3, 2, [](Canvas& c) { c.SetPixel(2, 1, kBlue); });
  EXPECT_EQ(Picture(image), (std::vector<std::string>{"...", "..b"}));
}

TEST(PainterCanvas, OpaqueTextFillsItsCellTransparentTextDoesNot) {
  auto greenAround = [](bool transparent) {
    return Paint(60, 30, [&](Canvas& c) {
      c.FillRect(0, 0, 60, 30, kGreen);
      c.SetTransparentText(transparent);
      c.SetBackgroundColour(kWhite);
      c.Text(10, 5, "IIII");
    });
  };
  // Between the strokes of "IIII", inside the text cell: white when opaque.
  const QImage opaque = greenAround(false);
  const QImage transparent = greenAround(true);
  int whiteOpaque = 0;
  int whiteTransparent = 0;
  for (int x = 10; x < 20; ++x) {
    whiteOpaque += opaque.pixel(x, 6) == qRgb(255, 255, 255) ? 1 : 0;
    whiteTransparent += transparent.pixel(x, 6) == qRgb(255, 255, 255) ? 1 : 0;
  }
  EXPECT_GT(whiteOpaque, 0);
  EXPECT_EQ(whiteTransparent, 0);
  // Inside the outline nothing is drawn above or left of the anchor.
  for (int x = 1; x < 59; ++x) EXPECT_EQ(opaque.pixel(x, 4), qRgb(0, 255, 0)) << x;
  for (int y = 1; y < 29; ++y) EXPECT_EQ(opaque.pixel(9, y), qRgb(0, 255, 0)) << y;
}

TEST(PainterCanvas, VerticalTextRunsUpwardRightOfItsAnchor) {
  const QImage image = Paint(40, 120, [](Canvas& c) {
    c.SetTransparentText(true);
    c.VerticalText(12, 102, "DCV[ Vdc]");
  });
  int top = image.height(), bottom = -1, left = image.width(), right = -1;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == qRgb(255, 255, 255)) continue;
      top = std::min(top, y);
      bottom = std::max(bottom, y);
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  EXPECT_LE(bottom, 102);
  EXPECT_GT(102 - top, 50);  // nine characters of about 10 pixels going up
  EXPECT_GE(left, 12);
  EXPECT_LE(right, 12 + 14);  // one cell of the 13-pixel font across
}

TEST(FontFor, GivesTheCellHeightAndAverageWidth) {
  const QFont font = FontFor(kPanelFont);
  const QFontMetrics metrics(font);
  EXPECT_NEAR(metrics.height(), kPanelFont.height, 2);
  EXPECT_NEAR(metrics.averageCharWidth(), kPanelFont.width, 3);
  EXPECT_EQ(font.weight(), QFont::Bold);
}

TEST(TwipsCanvas, TwipsLandBelowAndRightOfTheOrigin) {
  // At 144 dots per inch a dot is 10 twips.
  QImage image(40, 40, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    TwipsCanvas canvas(painter, 144);
    EXPECT_EQ(canvas.ToDevice(1440, -720), QPointF(144, 72));
    canvas.MoveTo(50, -100);
    canvas.LineTo(300, -100);  // dots (5, 10) to (30, 10)
    canvas.SetPixel(100, -300, kBlue);
  }
  EXPECT_EQ(image.pixel(5, 10), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(20, 10), qRgb(0, 0, 0));
  EXPECT_EQ(image.pixel(20, 11), qRgb(255, 255, 255));
  EXPECT_EQ(image.pixel(10, 30), qRgb(0, 0, 255));
}

TEST(TwipsCanvas, TextStaysUprightBelowItsAnchor) {
  QImage image(300, 100, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    TwipsCanvas canvas(painter, 144);
    canvas.SetTransparentText(true);
    canvas.Text(100, -200, "Page");  // top-left corner at dots (10, 20)
  }
  int top = image.height(), left = image.width();
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != qRgb(255, 255, 255)) {
        top = std::min(top, y);
        left = std::min(left, x);
      }
    }
  }
  EXPECT_GE(top, 20);
  EXPECT_LE(top, 20 + 10);  // the glyphs start near the top of the cell
  EXPECT_GE(left, 10);
  EXPECT_LE(left, 10 + 5);
}

}  // namespace
}  // namespace ql

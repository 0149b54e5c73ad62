#include "graph/graph_picture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graph/recording_canvas.h"

namespace ql {
namespace {

using Ops = std::vector<std::string>;

Ops Draw(GraphPicture& picture) {
  RecordingCanvas canvas;
  DrawGraphFile(canvas, picture);
  return canvas.Ops();
}

TEST(GraphPicture, DrawsSetDotsAsThreePixelSquares) {
  GraphPicture picture{};
  picture[2] = 0xFF;    // column 0 of band 0: never drawn
  picture[3] = 0x81;    // band 0, column 1, rows 0 and 7
  picture[66] = 0x01;   // band 0, column 64: always cleared
  picture[771] = 0xFF;  // band 6, column 1: rows 0 .. 2 only
  picture[897] = 0x02;  // band 6, column 127, row 1
  picture[900] = 0xFF;  // past the picture
  EXPECT_EQ(Draw(picture), (Ops{
                               "rect 0 0 453 172 #00FF00",
                               "rect 39 7 42 10 #0000FF",
                               "rect 39 28 42 31 #0000FF",
                               "rect 39 151 42 154 #0000FF",
                               "rect 39 154 42 157 #0000FF",
                               "rect 39 157 42 160 #0000FF",
                               "rect 417 154 420 157 #0000FF",
                           }));
  EXPECT_EQ(picture[66], 0);
}

TEST(GraphPicture, MarkerAddsDotsWhenBandTwoHasDotsInColumns18To27) {
  GraphPicture picture{};
  picture[280] = 0x01;  // band 2, column 22, row 16
  Ops ops = Draw(picture);
  EXPECT_EQ(ops, (Ops{
                     "rect 0 0 453 172 #00FF00",
                     "rect 228 31 231 34 #0000FF",    // byte 194: column 64, row 8
                     "rect 231 31 234 34 #0000FF",    // byte 195: column 65, row 8
                     "rect 102 55 105 58 #0000FF",    // byte 280 itself
                     "rect 228 58 231 61 #0000FF",    // byte 322: column 64, row 17
                     "rect 228 88 231 91 #0000FF",    // byte 450: row 27
                     "rect 228 118 231 121 #0000FF",  // byte 578: row 37
                     "rect 228 148 231 151 #0000FF",  // byte 706: row 47
                 }));
  EXPECT_EQ(picture[194], 0x01);
  EXPECT_EQ(picture[706], 0x80);
}

TEST(GraphPicture, MarkerSumIsTakenModulo256) {
  GraphPicture picture{};
  picture[276] = 0x80;
  picture[285] = 0x80;
  GraphPicture expected = picture;
  ApplyPictureMarker(picture);
  EXPECT_EQ(picture, expected);
  picture[285] = 0x81;
  ApplyPictureMarker(picture);
  EXPECT_EQ(picture[322], 0x02);
  EXPECT_EQ(picture[578], 0x20);
}

}  // namespace
}  // namespace ql

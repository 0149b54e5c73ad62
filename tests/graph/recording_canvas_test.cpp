#include "graph/recording_canvas.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ql {
namespace {

TEST(RecordingCanvas, WritesOneDumpLinePerOperation) {
  RecordingCanvas canvas;
  canvas.FillRect(0, 0, 453, 172, kGreen);
  canvas.SetTransparentText(true);
  canvas.MoveTo(45, 5);
  canvas.LineTo(45, -135);
  canvas.SetPixel(46, 135, kBlue);
  canvas.Text(185, 152, "100 Samples / Div");
  canvas.VerticalText(12, 102, "DCV[ Vdc]");
  canvas.SetTransparentText(false);
  canvas.SetBackgroundColour(Rgb{18, 171, 255});
  EXPECT_EQ(canvas.Ops(), (std::vector<std::string>{
                              "rect 0 0 453 172 #00FF00",
                              "bkmode transparent",
                              "moveto 45 5",
                              "lineto 45 -135",
                              "pixel 46 135 #0000FF",
                              "text 185 152 \"100 Samples / Div\"",
                              "vtext 12 102 \"DCV[ Vdc]\"",
                              "bkmode opaque",
                              "bkcolor #12ABFF",
                          }));
  canvas.Clear();
  EXPECT_TRUE(canvas.Ops().empty());
}

TEST(RecordingCanvas, QuotesTextAsEscapedUtf8OnOneLine) {
  struct Case {
    std::string latin1;
    std::string quoted;
  };
  const Case cases[] = {
      {"", "\"\""},
      {"mVdc", "\"mVdc\""},
      {"\xB5"
       "Adc",
       "\"\xC2\xB5"
       "Adc\""},
      {"  \xB0"
       "C",
       "\"  \xC2\xB0"
       "C\""},
      {"say \"hi\" \\ bye", "\"say \\\"hi\\\" \\\\ bye\""},
      {"line\n", "\"line\\n\""},
      {"a\tb\rc", "\"a\\tb\\rc\""},
      {std::string("x\0\x1B\x7F", 4), "\"x\\x00\\x1B\\x7F\""},
      {"\xFF", "\"\xC3\xBF\""},
  };
  for (const Case& c : cases) EXPECT_EQ(QuoteDumpText(c.latin1), c.quoted) << c.quoted;
}

}  // namespace
}  // namespace ql

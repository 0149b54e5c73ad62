// Printing through the view: the page count it gives the job and what each
// page ends with.

#include "graph/display_form.h"
#include "graph/recording_canvas.h"
#include "meter_frames.h"
#include "support/view_probe.h"
#include "view_fixture.h"

namespace ql::test_support {
namespace {

using PrintCommandsTest = ViewTest;

TEST_F(PrintCommandsTest, PageCountFollowsTheFormAndTheLineCountAtStop) {
  CQarnView& view = Create();
  Start();
  for (int i = 0; i < 36; ++i) ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  view.OnRunStop();
  EXPECT_EQ(view.OnPreparePrinting(), 2);  // 35 lines, then 1
  view.OnViewLine();
  EXPECT_EQ(view.OnPreparePrinting(), 2);  // the graph, then 36 lines
  view.SetDisplayForm(FORM_NONE);
  EXPECT_EQ(view.OnPreparePrinting(), 1);
}

TEST_F(PrintCommandsTest, PageOfAnEmptyListSaysSoAndCarriesNoNumber) {
  CQarnView& view = Create();
  RecordingCanvas page;
  view.OnPrint(page, 1);
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Data not exist !"});
  for (const std::string& op : page.Ops()) EXPECT_EQ(op.find("Page"), std::string::npos) << op;
}

class NumberingView : public CQarnView {
 public:
  using CQarnView::CQarnView;
  void PrintPageNumber(Canvas& canvas, int page) override {
    numbered.push_back(page);
    CQarnView::PrintPageNumber(canvas, page);
  }
  std::vector<int> numbered;
};

TEST_F(PrintCommandsTest, EveryPageEndsWithItsNumberAndTakesTheLineCount) {
  NumberingView numbering(host, store, clock, line);
  numbering.OnCreate();
  numbering.OnRunStart();
  line.Send(DcVolts(" 1.234"));
  numbering.OnTimer();
  numbering.OnRunStop();
  ViewProbe(numbering).m_nLineCount = 99;

  RecordingCanvas page;
  numbering.OnPrint(page, 1);
  ASSERT_FALSE(page.Ops().empty());
  EXPECT_EQ(page.Ops().back(), "text 5900 -15500 \"1 Page\"");
  EXPECT_EQ(numbering.numbered, std::vector<int>{1});
  EXPECT_EQ(numbering.LineCount(), 1);
}

}  // namespace
}  // namespace ql::test_support

// The display forms, the View commands and the repaints of the panel.

#include "graph/display_form.h"
#include "meter_frames.h"
#include "run/ids.h"
#include "support/view_probe.h"
#include "view_fixture.h"

namespace ql::test_support {
namespace {

using DisplayFormsTest = ViewTest;

constexpr int kFields[] = {ctl::kReading, ctl::kUnit, ctl::kPrefix, ctl::kField6, ctl::kField4};

TEST_F(DisplayFormsTest, SwitchShowsBlanksOrHidesTheReadingFields) {
  CQarnView& view = Create();
  for (int id : kFields) host.texts[id] = "x";

  view.SetDisplayForm(FORM_LINE);
  for (int id : kFields) {
    EXPECT_FALSE(host.shown.at(id));
    EXPECT_EQ(host.Text(id), "x");
  }
  view.SetDisplayForm(FORM_TEXT);
  for (int id : kFields) {
    EXPECT_TRUE(host.shown.at(id));
    EXPECT_EQ(host.Text(id), " ");
  }
  view.SetDisplayForm(FORM_GRAPHFILE);
  EXPECT_EQ(ViewProbe(view).m_bGraphLoaded, 1);
  for (int id : kFields) host.texts[id] = "y";
  view.SetDisplayForm(7);
  EXPECT_EQ(view.DisplayForm(), FORM_NONE);
  EXPECT_EQ(ViewProbe(view).m_bGraphLoaded, 0);
  EXPECT_FALSE(host.shown.at(ctl::kReading));
  EXPECT_EQ(host.Text(ctl::kReading), "y");
}

TEST_F(DisplayFormsTest, EmptyListMessageComesOncePerChangeOfListOrForm) {
  CQarnView& view = Create();
  auto messages = [&] { return host.messages.size(); };

  view.OnViewLine();
  EXPECT_EQ(host.MessageTexts(), std::vector<std::string>{"Data not exist !"});
  EXPECT_EQ(view.DisplayForm(), FORM_LINE);
  for (int i = 0; i < 3; ++i) view.OnDraw();
  EXPECT_EQ(messages(), 1u);

  // The commands ask for the graph: they always say why there is none.
  view.OnViewLine();
  view.OnViewBar();
  EXPECT_EQ(messages(), 3u);
  view.OnDraw();
  EXPECT_EQ(messages(), 3u);

  view.SetDisplayForm(FORM_LINE);
  view.OnDraw();
  EXPECT_EQ(messages(), 4u);

  // A new list (a run that recorded, then lost its class) says it again.
  Start();
  ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  view.OnRunStop();
  view.SetDisplayForm(FORM_BAR);
  view.OnDraw();
  EXPECT_EQ(messages(), 4u);
  Start();  // the next run empties the list
  view.OnRunStop();
  view.SetDisplayForm(FORM_BAR);
  view.OnDraw();
  EXPECT_EQ(messages(), 5u);
}

TEST_F(DisplayFormsTest, RepaintOfAStoppedGraphIsFollowedByOneMoreDrawAtTheNextTick) {
  CQarnView& view = Create();
  Start();
  ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  view.OnRunStop();
  view.OnViewLine();
  host.canvas.Clear();

  view.OnDraw();
  const std::vector<std::string> drawn = host.canvas.Ops();
  ASSERT_FALSE(drawn.empty());
  host.canvas.Clear();
  Tick(1);
  EXPECT_EQ(host.canvas.Ops(), drawn);
  host.canvas.Clear();
  Tick(5);
  EXPECT_TRUE(host.canvas.Ops().empty());
}

TEST_F(DisplayFormsTest, TextAfterLineTurnsThePanelGreenWithBlankFields) {
  CQarnView& view = Create();
  Start();
  ASSERT_GT(Record(DcVolts(" 1.234")), 0);
  view.OnViewLine();
  host.canvas.Clear();
  const int invalidations = host.invalidations;

  view.OnViewText();
  EXPECT_EQ(host.canvas.Ops(),
            (std::vector<std::string>{"bkmode opaque", "rect 0 0 453 172 #00FF00"}));
  EXPECT_EQ(host.invalidations, invalidations + 1);
  EXPECT_EQ(view.DisplayForm(), FORM_TEXT);
  for (int id : kFields) {
    EXPECT_TRUE(host.shown.at(id));
    EXPECT_EQ(host.Text(id), " ");
  }
}

}  // namespace
}  // namespace ql::test_support

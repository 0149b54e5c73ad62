// The stored settings: defaults, stored values used as they are, the Setup
// commands writing at once, and the status-bar panes.

#include <climits>

#include "run/ids.h"
#include "support/view_probe.h"
#include "view_fixture.h"

namespace ql::test_support {
namespace {

using SettingsCommandsTest = ViewTest;

TEST_F(SettingsCommandsTest, FreshStoreGivesTheDefaults) {
  CQarnView& view = Create();
  EXPECT_EQ(view.PortSettings().m_nComPort, 1);
  EXPECT_EQ(view.Link().m_nPortIndex, 1);
  EXPECT_EQ(view.Link().m_nReload, 16);
  EXPECT_EQ(view.PortSettings().m_nSampling, 20);
  EXPECT_EQ(ViewProbe(view).m_nDbRefOhm, 600);
  EXPECT_FLOAT_EQ(ViewProbe(view).m_fDbRefKOhm, 0.6f);
  EXPECT_TRUE(view.OnUpdateCommand(cmd::kSampling1s).checked);
  EXPECT_TRUE(view.OnUpdateCommand(cmd::kDbRefFirst + 12).checked);  // 600 Ohm
  EXPECT_EQ(host.Pane(pane::kPort), "COM 2");
  EXPECT_EQ(host.Pane(pane::kDbRef), " 600 Ohm");
  EXPECT_EQ(host.Pane(pane::kSampling), "  1 SEC");
  EXPECT_EQ(host.Pane(pane::kFileName), "NONAME");
  EXPECT_TRUE(store.Writes().empty());
}

TEST_F(SettingsCommandsTest, StoredValuesOutsideTheMenusAreUsedAsTheyAre) {
  store.Set("Sampling Time", "Current", "55");
  store.Set("Db", "Ref", "470");
  CQarnView& view = Create();
  EXPECT_EQ(view.Link().m_nReload, 55);
  EXPECT_EQ(view.PortSettings().m_nSampling, 55);
  EXPECT_FLOAT_EQ(ViewProbe(view).m_fDbRefKOhm, 0.47f);
  EXPECT_EQ(host.Pane(pane::kDbRef), " 470 Ohm");
  for (int id = cmd::kSampling500ms; id <= cmd::kDbRefLast; ++id) {
    EXPECT_FALSE(view.OnUpdateCommand(id).checked) << id;
  }
}

TEST_F(SettingsCommandsTest, SamplingCommandIsStoredAtOnceAndRestoredNextTime) {
  CQarnView& view = Create();
  EXPECT_TRUE(view.OnCommand(cmd::kSampling5s));
  EXPECT_EQ(store.Writes(), (std::vector<std::string>{"Sampling Time/Current=100",
                                                      "Sampling Time/Use display=  5 SEC"}));
  EXPECT_EQ(view.Link().m_nReload, 86);
  EXPECT_EQ(host.Pane(pane::kSampling), "  5 SEC");
  EXPECT_TRUE(view.OnUpdateCommand(cmd::kSampling5s).checked);
  EXPECT_FALSE(view.OnUpdateCommand(cmd::kSampling1s).checked);

  RecordingFormHost nextHost;
  CQarnView next(nextHost, store, clock, line);
  next.OnCreate();
  EXPECT_EQ(next.Link().m_nReload, 86);
  EXPECT_TRUE(next.OnUpdateCommand(cmd::kSampling5s).checked);
  EXPECT_EQ(nextHost.Pane(pane::kSampling), "  5 SEC");
}

TEST_F(SettingsCommandsTest, SamplingTable) {
  const struct {
    int command, code, period;
  } rows[] = {{cmd::kSampling500ms, 10, 8},
              {cmd::kSampling1s, 20, 16},
              {cmd::kSampling2s, 40, 38},
              {cmd::kSampling5s, 100, 86},
              {cmd::kSampling10s, 200, 172}};
  CQarnView& view = Create();
  for (const auto& row : rows) {
    ASSERT_TRUE(view.OnSamplingCommand(row.command));
    EXPECT_EQ(view.PortSettings().m_nSampling, row.code);
    EXPECT_EQ(view.Link().m_nReload, row.period);
  }
}

TEST_F(SettingsCommandsTest, DbReferenceCommandWritesAtOnceAndUpdatesTheBoxOnlyInDbMode) {
  CQarnView& view = Create();
  host.texts[ctl::kDbRefText] = "untouched";
  EXPECT_TRUE(view.OnCommand(cmd::kDbRefFirst));  // 2 Ohm
  EXPECT_EQ(host.Text(ctl::kDbRefText), "untouched");
  EXPECT_EQ(ViewProbe(view).m_nDbRefOhm, 2);
  EXPECT_FLOAT_EQ(ViewProbe(view).m_fDbRefKOhm, 0.002f);
  EXPECT_EQ(store.Get("Db", "Ref"), "2");
  EXPECT_EQ(host.Pane(pane::kDbRef), "   2 Ohm");
  EXPECT_TRUE(view.OnUpdateCommand(cmd::kDbRefFirst).checked);
  EXPECT_FALSE(view.OnUpdateCommand(cmd::kDbRefFirst + 12).checked);

  view.OnButtonDb();
  EXPECT_TRUE(view.OnCommand(cmd::kDbRefLast));
  EXPECT_EQ(host.Text(ctl::kDbRefText), "1000 OHM");
  EXPECT_EQ(host.Pane(pane::kDbRef), "1000 Ohm");
}

TEST_F(SettingsCommandsTest, OddStoredValuesAreShownWhole) {
  store.Set("COMM", "Port", std::to_string(INT_MAX));
  store.Set("Db", "Ref", std::to_string(INT_MIN));
  store.Set("Sampling Time", "Current", "-5");
  CQarnView& view = Create();
  EXPECT_EQ(host.Pane(pane::kPort), "COM 2147483648");
  EXPECT_EQ(host.Pane(pane::kDbRef), "-2147483648 Ohm");
  EXPECT_EQ(view.Link().m_nReload, -5);
  view.OnButtonDb();
  EXPECT_EQ(host.Text(ctl::kDbRefText), "-2147483648 OHM");
  // The port number saturates instead of overflowing: a port above 4.
  view.OnRunStart();
  EXPECT_EQ(line.openedName, "\\\\.\\TELNET");
}

}  // namespace
}  // namespace ql::test_support

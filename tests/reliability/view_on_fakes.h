#pragma once
// The measuring window on fakes (in-memory line, recording form host,
// settings in memory, fixed clock), with the steps the reliability tests
// share: record a run of readings, stop it, and work in a scratch folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <memory>
#include <string>
#include <vector>

#include "run/qarn_view.h"
#include "sim/meter_words.h"
#include "support/fake_serial_line.h"
#include "support/fixed_clock.h"
#include "support/memory_profile_store.h"
#include "support/recording_form_host.h"

namespace ql::testing {

class ViewOnFakesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (std::filesystem::temp_directory_path() / "ql-rel-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    folder = pattern;
  }
  void TearDown() override {
    view.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }

  // Creates the view as the program does, on what the store holds now.
  CQarnView& Create() {
    view = std::make_unique<CQarnView>(host, store, clock, line);
    view->OnCreate();
    view->OnInitialUpdate();
    return *view;
  }

  // Records `count` readings of `words` in a run and stops it: Save is then
  // available. Returns true iff all were recorded.
  bool RecordStoppedRun(int count, const char* words = "DC 12.34 V") {
    if (!view) Create();
    view->OnRunStart();
    if (view->m_bRecording != 1) return false;
    const std::string frame = *FrameFor(words);
    for (int tick = 0; tick < 1000 && host.ListCount() < count; ++tick) {
      line.Send(frame);
      view->OnTimer();
    }
    view->OnRunStop();
    return host.ListCount() == count;
  }

  std::string PathOf(const std::string& name) const { return (folder / name).string(); }
  static std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }
  static void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
  }
  // The names in `dir`, sorted.
  static std::vector<std::string> Entries(const std::filesystem::path& dir) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  FakeSerialLine line;
  RecordingFormHost host;
  MemoryProfileStore store;
  FixedClock clock;
  std::unique_ptr<CQarnView> view;
  std::filesystem::path folder;
};

}  // namespace ql::testing

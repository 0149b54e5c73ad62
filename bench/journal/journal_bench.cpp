// The journal's cost: one recording tick of the view with the journal on
// and off (tmpfs and disk; the median is the counter "median_us"), one
// sample committed by the writer alone, a week at 500 ms (1.2 M samples)
// read back into a list of readings, 1 M samples as CSV, and the bytes the
// database grows by per sample ("bytes_per_sample").
//
// The disk folder is $QUINTALINE_BENCH_DISK (default /var/tmp); the tmpfs
// is /dev/shm.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "journal/csv_export.h"
#include "journal/journal_reader.h"
#include "journal/journal_writer.h"
#include "journal/schema.h"
#include "journal/stored_line.h"
#include "run/qarn_view.h"
#include "run/reading_list.h"
#include "support/fake_serial_line.h"
#include "support/fixed_clock.h"
#include "support/lean_form_host.h"
#include "run/memory_profile_store.h"
#include "support/view_probe.h"

namespace ql::journal {
namespace {

namespace fs = std::filesystem;

constexpr std::int64_t kWeekAt500ms = 1'200'000;

std::string DiskFolder() {
  const char* disk = std::getenv("QUINTALINE_BENCH_DISK");
  return disk ? disk : "/var/tmp";
}

std::string FreshPath(const std::string& folder, const std::string& name) {
  const std::string path = folder + "/ql-bench-" + std::to_string(getpid()) + "-" + name;
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(path + suffix);
  return path;
}

void RemoveDb(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(path + suffix);
}

// A list line as the view writes it: 61 columns, blanks at the end.
const std::string kLine = [] {
  std::string line = " 14:02:37        12.34  Vdc          DCV";
  line.resize(61, ' ');
  return line;
}();

JournalSample Sample(std::int64_t i) {
  JournalSample s;
  s.time = {1'765'375'357'000'000 + i * 500'000, 3600};
  s.seconds_since_start = static_cast<double>(i) * 0.5;
  s.value = 12.34;
  s.display_text = " 12.34";
  s.function = "DCV";
  s.unit = " Vdc";
  s.range = "39.99";
  s.label = "DCV";
  s.list_line = kLine;
  return s;
}

void SetCounterMedian(benchmark::State& state, std::vector<double>& us) {
  if (us.empty()) return;
  std::nth_element(us.begin(), us.begin() + static_cast<std::ptrdiff_t>(us.size() / 2), us.end());
  state.counters["median_us"] = us[us.size() / 2];
}

// Recording ticks of the view, each taking a sample; with a journal at
// `folder` unless it is empty.
void RecordingTicks(benchmark::State& state, const std::string& folder) {
  test_support::FakeSerialLine line;
  MemoryProfileStore store;
  test_support::FixedClock clock;
  test_support::LeanFormHost host;
  SystemWallClock wall;
  const std::string path = folder.empty() ? "" : FreshPath(folder, "tick.sqlite3");
  std::unique_ptr<JournalWriter> writer;
  CQarnView view(host.Parts(), store, clock, line);
  if (!path.empty()) {
    writer = std::make_unique<JournalWriter>(path, nullptr);
    writer->Open();
    view.SetJournal({writer.get(), &wall, "bench", "cli", {}});
  }
  view.OnCreate();
  view.OnRunStart();
  test_support::ViewProbe(view).m_link.m_nReload = 1;  // every tick takes a sample
  const std::string frame = test_support::DcVoltFrame();
  std::vector<double> us;
  us.reserve(1 << 20);
  for (auto _ : state) {
    line.Send(frame);
    const auto begin = std::chrono::steady_clock::now();
    view.OnTimer();
    us.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin)
                     .count());
  }
  SetCounterMedian(state, us);
  view.OnRunStop();
  if (writer && writer->Failing()) state.SkipWithError("the journal could not be written");
  writer.reset();
  if (!path.empty()) RemoveDb(path);
}

void BM_TickJournalOff(benchmark::State& state) { RecordingTicks(state, ""); }
void BM_TickJournalTmpfs(benchmark::State& state) { RecordingTicks(state, "/dev/shm"); }
void BM_TickJournalDisk(benchmark::State& state) { RecordingTicks(state, DiskFolder()); }
BENCHMARK(BM_TickJournalOff);
BENCHMARK(BM_TickJournalTmpfs);
BENCHMARK(BM_TickJournalDisk);

void RecordInto(benchmark::State& state, const std::string& folder) {
  const std::string path = FreshPath(folder, "record.sqlite3");
  {
    JournalWriter writer(path, nullptr);
    writer.BeginRun(RunInfo{"bench", "cli", "/dev/null", "COM1", 500, 1.0}, Sample(0).time);
    std::int64_t i = 0;
    std::vector<double> us;
    us.reserve(1 << 20);
    for (auto _ : state) {
      const JournalSample sample = Sample(i++);
      const auto begin = std::chrono::steady_clock::now();
      writer.Record(sample);
      us.push_back(
          std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - begin)
              .count());
    }
    SetCounterMedian(state, us);
    writer.Event({RunEventKind::kStop, {}, ""});
  }
  RemoveDb(path);
}

void BM_RecordSampleTmpfs(benchmark::State& state) { RecordInto(state, "/dev/shm"); }
void BM_RecordSampleDisk(benchmark::State& state) { RecordInto(state, DiskFolder()); }
BENCHMARK(BM_RecordSampleTmpfs);
BENCHMARK(BM_RecordSampleDisk);

// A journal of one run with one part of `count` samples 500 ms apart: the
// writer makes the run, the part and the first sample; the rest are rows
// like it, in one transaction for the set-up only.
std::string JournalOf(std::int64_t count, const std::string& name) {
  const std::string path = FreshPath("/dev/shm", name);
  {
    JournalWriter writer(path, nullptr);
    writer.BeginRun(RunInfo{"bench", "cli", "/dev/null", "COM1", 500, 1.0}, Sample(0).time);
    writer.Record(Sample(0));
    writer.Event({RunEventKind::kStop, {}, ""});
  }
  Db db;
  db.Open(path);
  db.Exec("BEGIN IMMEDIATE");
  Statement insert(db.Handle(),
                   "INSERT INTO samples(id, ms, utc_offset_s, value, line)"
                   " SELECT id + ?1, ms + 500 * ?1, utc_offset_s, value, line FROM samples"
                   " WHERE id = (SELECT min(id) FROM samples)");
  for (std::int64_t i = 1; i < count; ++i) {
    sqlite3_bind_int64(insert.Get(), 1, i);
    if (sqlite3_step(insert.Get()) != SQLITE_DONE) std::abort();
    sqlite3_reset(insert.Get());
  }
  db.Exec("COMMIT");
  db.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
  return path;
}

void BM_LoadWeekIntoList(benchmark::State& state) {
  const std::string path = JournalOf(kWeekAt500ms, "load.sqlite3");
  JournalReader reader;
  reader.Open(path);
  const auto parts = reader.Parts(*reader.FindRun("last"));
  for (auto _ : state) {
    ReadingList list;
    list.Reserve(static_cast<int>(parts.front().samples), 61);
    reader.ForEachPartLine(parts.front().id, [&list](std::string_view line) { list.Add(line); });
    if (list.Count() != kWeekAt500ms || list.Line(0) != kLine) {
      state.SkipWithError(("lines differ: " + std::to_string(list.Count()) + " [" + list.Line(0) +
                           "] [" + kLine + "]")
                              .c_str());
    }
    benchmark::DoNotOptimize(list);
  }
  state.counters["bytes_per_sample"] =
      static_cast<double>(fs::file_size(path)) / static_cast<double>(kWeekAt500ms);
  RemoveDb(path);
}
BENCHMARK(BM_LoadWeekIntoList)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ExportCsv(benchmark::State& state) {
  const std::string path = JournalOf(1'000'000, "csv.sqlite3");
  JournalReader reader;
  reader.Open(path);
  const auto run = reader.FindRun("last");
  std::string csv, error;
  for (auto _ : state) ExportRunCsv(reader.Database(), *run, 0, CsvChoices{}, csv, error);
  RemoveDb(path);
}
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
}  // namespace ql::journal

// The journal's cost: one recorded sample committed (tmpfs and disk), a
// part of 1.2 M samples read back as list lines, 1 M samples as CSV, and
// the bytes the database grows by per sample.
//
// The disk folder is $QUINTALINE_BENCH_DISK (default /var/tmp); the tmpfs
// is /dev/shm.

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "journal/csv_export.h"
#include "journal/journal_reader.h"
#include "journal/journal_writer.h"

namespace ql::journal {
namespace {

namespace fs = std::filesystem;

std::string FreshPath(const std::string& folder, const std::string& name) {
  const std::string path = folder + "/ql-bench-" + std::to_string(getpid()) + "-" + name;
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(path + suffix);
  return path;
}

void RemoveDb(const std::string& path) {
  for (const char* suffix : {"", "-wal", "-shm"}) fs::remove(path + suffix);
}

JournalSample Sample(std::int64_t i) {
  JournalSample s;
  s.time = {1'765'375'357'000'000 + i * 500'000, 3600};
  s.seconds_since_start = static_cast<double>(i) * 0.5;
  s.value = 12.34;
  s.display_text = "12.34";
  s.function = "DC";
  s.unit = "V";
  s.range = "40V";
  s.list_line = std::string(" 14:02:37        12.34   Vdc          DCV").append(61 - 41, ' ');
  return s;
}

void RecordInto(benchmark::State& state, const std::string& folder) {
  const std::string path = FreshPath(folder, "record.sqlite3");
  {
    JournalWriter writer(path, nullptr);
    writer.BeginRun(RunInfo{"bench", "cli", "/dev/null", "COM1", 500, 1.0}, {});
    std::int64_t i = 0;
    for (auto _ : state) writer.Record(Sample(i++));
    writer.Event({RunEventKind::kStop, {}, ""});
  }
  RemoveDb(path);
}

void BM_RecordSampleTmpfs(benchmark::State& state) { RecordInto(state, "/dev/shm"); }
void BM_RecordSampleDisk(benchmark::State& state) {
  const char* disk = std::getenv("QUINTALINE_BENCH_DISK");
  RecordInto(state, disk ? disk : "/var/tmp");
}
BENCHMARK(BM_RecordSampleTmpfs);
BENCHMARK(BM_RecordSampleDisk);

// A journal of one run with one part of `count` samples, written once.
std::string JournalOf(std::int64_t count, const std::string& name) {
  const std::string path = FreshPath("/dev/shm", name);
  JournalWriter writer(path, nullptr);
  writer.BeginRun(RunInfo{"bench", "cli", "/dev/null", "COM1", 500, 1.0}, {});
  Db db;
  db.Open(path);
  db.Exec("BEGIN");  // one transaction for the set-up only
  writer.Record(Sample(0));
  Statement insert(db.Handle(),
                   "INSERT INTO samples(part_id, utc_us, utc_offset_s, seconds, value, over_range,"
                   " display, label, line) SELECT part_id, utc_us, utc_offset_s, seconds, value,"
                   " over_range, display, label, line FROM samples WHERE id=1");
  for (std::int64_t i = 1; i < count; ++i) {
    sqlite3_step(insert.Get());
    sqlite3_reset(insert.Get());
  }
  db.Exec("COMMIT");
  writer.Event({RunEventKind::kStop, {}, ""});
  db.Exec("PRAGMA wal_checkpoint(TRUNCATE)");
  return path;
}

void BM_LoadPartAsListLines(benchmark::State& state) {
  const std::string path = JournalOf(1'200'000, "load.sqlite3");
  JournalReader reader;
  reader.Open(path);
  const auto run = reader.FindRun("last");
  const auto parts = reader.Parts(*run);
  for (auto _ : state) benchmark::DoNotOptimize(reader.PartLines(parts.front().id));
  state.counters["bytes_per_sample"] =
      static_cast<double>(fs::file_size(path)) / 1'200'000.0;
  RemoveDb(path);
}
BENCHMARK(BM_LoadPartAsListLines)->Unit(benchmark::kMillisecond)->Iterations(3);

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

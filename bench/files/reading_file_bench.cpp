// Opening a reading file of 1,000,000 records (68 MB) and drawing its trend
// graph, and saving it back. Targets: each under 1 s; the open and draw in
// under 3 times the file size in memory (the counters peak_rss_MB and
// rss_per_file_byte report the process's peak resident size).

#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "files/atomic_file.h"
#include "files/reading_file.h"
#include "graph/display_form.h"
#include "graph/recording_canvas.h"
#include "graph/trend_graph.h"
#include "support/reading_lines.h"
#include "graph/graph_values.h"

namespace ql {
namespace {

constexpr int kRecords = 1'000'000;

double PeakRssBytes() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) * 1024.0;
}

// A reading file of kRecords records, removed at exit. It is written record
// by record, so that the lines are never held in memory before the open is
// measured.
struct BenchReadingFile {
  BenchReadingFile() : path("/tmp/ql-bench-" + std::to_string(::getpid()) + ".rdg") {
    AtomicFile file;
    std::string records;
    bool ok = file.Open(path).ok();
    for (int k = 0; ok && k < kRecords; ++k) {
      char value[8];
      std::snprintf(value, sizeof value, "%6.3f", (k % 4000) / 1000.0);
      AppendRecord(test_support::ReadingLine(value, " Vdc", "DCV"), records);
      if (records.size() >= (1 << 20) || k + 1 == kRecords) {
        ok = file.Write(records).ok();
        records.clear();
      }
    }
    if (!ok || !file.Commit().ok()) std::fprintf(stderr, "cannot write %s\n", path.c_str());
  }
  BenchReadingFile(const BenchReadingFile&) = delete;
  BenchReadingFile& operator=(const BenchReadingFile&) = delete;
  ~BenchReadingFile() { std::remove(path.c_str()); }

  const std::string path;
};

const std::string& ReadingFilePath() {
  static const BenchReadingFile file;
  return file.path;
}

void BM_OpenReadingFileAndDrawTrendGraph(benchmark::State& state) {
  const std::string& path = ReadingFilePath();
  for (auto _ : state) {
    std::vector<std::string> lines;
    if (!LoadReadingFile(path, lines).ok()) state.SkipWithError("cannot open the reading file");
    VectorLineSource list(lines);
    RecordingCanvas canvas;
    GraphValues values{};
    char label[10];
    DrawTrendGraph(canvas, list, FORM_LINE, values, label);
    benchmark::DoNotOptimize(canvas.Ops().data());
  }
  const double fileBytes = static_cast<double>(kRecords) * kRecordSize;
  state.counters["peak_rss_MB"] = PeakRssBytes() / 1e6;
  state.counters["rss_per_file_byte"] = PeakRssBytes() / fileBytes;
}
BENCHMARK(BM_OpenReadingFileAndDrawTrendGraph)->Unit(benchmark::kMillisecond);

void BM_SaveReadingFile(benchmark::State& state) {
  std::vector<std::string> lines;
  if (!LoadReadingFile(ReadingFilePath(), lines).ok()) {
    state.SkipWithError("cannot open the reading file");
    return;
  }
  VectorLineSource list(lines);
  const std::string target = ReadingFilePath() + ".saved";
  for (auto _ : state) {
    if (!SaveReadingFile(target, list).ok()) state.SkipWithError("cannot save the reading file");
  }
  std::remove(target.c_str());
}
BENCHMARK(BM_SaveReadingFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ql

// Appending the simulation flow's error logs to the summary report: 2,000 log files of
// 100 KB each (200 MB, about 2.5% of the bytes line feeds) spread over the three error-log
// folders, against cat of the same files to a file (started directly, no shell; the median of
// the iterations' ratios). Memory: the growth of the process's peak
// resident size during the run (the logs are streamed, so it stays small).
//
//   build/bench/verify_bench [--benchmark_filter=...]   (files: KESTRA_BENCH_LOG_FILES)
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BenchProcess.h"
#include "BenchTiming.h"
#include "verify/simulation/CellsimReports.h"

namespace fs = std::filesystem;

namespace {

constexpr std::size_t kFileBytes = 100 * 1000;

long FileCount() {
  const char* text = std::getenv("KESTRA_BENCH_LOG_FILES");
  return text ? std::atol(text) : 2000;
}

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

// The scratch directory of a failed run: the summary and the logs in the three folders.
fs::path MakeLogs(long files) {
  const fs::path root = fs::temp_directory_path() / "kestra-bench-errorlogs";
  fs::remove_all(root);
  const fs::path folders[] = {root / "sim_error_log/QelLog_benchSim", root / "wrapper_error_log",
                              root / "map_error_log"};
  for (const fs::path& folder : folders) fs::create_directories(folder);
  std::string line(39, 'x');
  line += '\n';
  std::string content;
  while (content.size() + line.size() <= kFileBytes) content += line;
  content.resize(kFileBytes, 'y');
  for (long i = 0; i < files; ++i) {
    std::ofstream(folders[i % 3] / ("part" + std::to_string(i) + ".log"), std::ios::binary)
        << content;
  }
  return root;
}

void BM_AppendErrorLogs(benchmark::State& state) {
  const long files = FileCount();
  const fs::path root = MakeLogs(files);
  const std::string summary = (root / "cellsim_summary.rep").string();
  // cat started directly (no shell) with the same files, copying to a file as the append does.
  std::vector<std::string> cat = {"cat"};
  for (const char* folder : {"sim_error_log/QelLog_benchSim", "wrapper_error_log", "map_error_log"})
    for (const auto& entry : fs::directory_iterator(root / folder))
      cat.push_back(entry.path().string());
  std::vector<double> ratios;
  long growth = 0;
  for (auto _ : state) {
    std::ofstream(summary) << "summary\n";
    const long before = PeakKilobytes();
    ErrorLogAppend result;
    const double run = Seconds([&] { result = AppendErrorLogs(summary, "bench"); });
    growth = std::max(growth, PeakKilobytes() - before);
    state.SetIterationTime(run);
    if (result.filesCopied != files) state.SkipWithError("not every log was copied");
    ratios.push_back(run / RunQuietly(cat, nullptr, (root / "cat.out").string()));
  }
  fs::remove_all(root);
  state.counters["ratio_to_cat"] = Median(ratios);
  state.counters["peak_growth_kb"] = static_cast<double>(growth);
  state.SetBytesProcessed(static_cast<int64_t>(files * kFileBytes * state.iterations()));
}
BENCHMARK(BM_AppendErrorLogs)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();

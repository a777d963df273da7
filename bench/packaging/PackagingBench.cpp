// The packaging flow's per-part runs through `kestra verify packaging -report`, as a child
// process, on a generated library:
//
// - BM_PerPartOverhead: 200 parts with a no-op tool (KESTRA_TOOL_LIBKIT=/bin/true), so that
//   what is measured is the module's own work per part (scratch directory, ptf file, launch,
//   report copies and reading); the yardstick is a loop of the system shell (sh) starting
//   the same no-op tool 200 times. Both are started directly (no shell in front of either)
//   and alternate; the ratio is the median of the iterations' ratios (ratio_to_shell_loop,
//   aim: under 1.5).
// - BM_ParallelSpeedup: 20 parts with the stand-in cellpack spending 50 ms of processor time
//   per part (KESTRA_CELLPACK_CPU_MS); speedup of -j 2 over -j 1 (aim: at least 1.7 on two
//   cores).
//
//   build/bench/packaging_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "BenchProcess.h"
#include "BenchTiming.h"
#include "CleanLibraryProject.h"

namespace fs = std::filesystem;

namespace {

const std::string kKestra = std::string(KESTRA_BINARY_DIR) + "/bin/kestra";

double Verify(const std::string& project, int jobs) {
  return RunQuietly({kKestra, "verify", "packaging", "-proj", project, "-lib", "big", "-report",
                     "-j", std::to_string(jobs)});
}

void BM_PerPartOverhead(benchmark::State& state) {
  constexpr int kParts = 200;
  const std::string project =
      MakeCleanLibraryProject(fs::temp_directory_path() / "kestra-bench-packaging-200", kParts);
  setenv("KESTRA_TOOL_LIBKIT", "/bin/true", 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::vector<double> module;
  std::vector<double> shell;
  std::vector<double> ratios;
  for (auto _ : state) {
    module.push_back(Verify(project, 1));
    state.SetIterationTime(module.back());
    shell.push_back(RunQuietly(
        {"sh", "-c", "for i in $(seq " + std::to_string(kParts) + "); do /bin/true; done"}));
    ratios.push_back(module.back() / shell.back());
  }
  unsetenv("KESTRA_TOOL_LIBKIT");
  state.counters["ms_per_part"] = Median(module) / kParts * 1000;
  state.counters["shell_ms_per_start"] = Median(shell) / kParts * 1000;
  state.counters["ratio_to_shell_loop"] = Median(ratios);
  fs::remove_all(fs::path(project).parent_path());
}
BENCHMARK(BM_PerPartOverhead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(7);

void BM_ParallelSpeedup(benchmark::State& state) {
  constexpr int kParts = 20;
  const std::string project =
      MakeCleanLibraryProject(fs::temp_directory_path() / "kestra-bench-packaging-20", kParts);
  setenv("KESTRA_CELLPACK_CPU_MS", "50", 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  std::vector<double> one;
  std::vector<double> two;
  std::vector<double> speedups;
  for (auto _ : state) {
    one.push_back(Verify(project, 1));
    two.push_back(Verify(project, 2));
    state.SetIterationTime(two.back());
    speedups.push_back(one.back() / two.back());
  }
  unsetenv("KESTRA_CELLPACK_CPU_MS");
  state.counters["j1_seconds"] = Median(one);
  state.counters["j2_seconds"] = Median(two);
  state.counters["speedup_j2"] = Median(speedups);
  fs::remove_all(fs::path(project).parent_path());
}
BENCHMARK(BM_ParallelSpeedup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

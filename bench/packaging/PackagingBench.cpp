// The packaging flow's per-part runs through `kestra verify packaging -report`, as a child
// process, on a generated library:
//
// - BM_PerPartOverhead: 200 parts with a no-op tool (KESTRA_TOOL_LIBKIT=true), so that what
//   is measured is the module's own work per part (scratch directory, ptf file, launch,
//   report copies and reading); the yardstick is starting the no-op tool 200 times from a
//   shell loop (ratio_to_shell_loop, aim: under 1.5).
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

#include "BenchTiming.h"
#include "CleanLibraryProject.h"

namespace fs = std::filesystem;

namespace {

const std::string kKestra = std::string(KESTRA_BINARY_DIR) + "/bin/kestra";

int Verify(const std::string& project, int jobs) {
  const std::string command = kKestra + " verify packaging -proj " + project +
                              " -lib big -report -j " + std::to_string(jobs) + " > /dev/null 2>&1";
  return std::system(command.c_str());
}

void BM_PerPartOverhead(benchmark::State& state) {
  constexpr int kParts = 200;
  const std::string project =
      MakeCleanLibraryProject(fs::temp_directory_path() / "kestra-bench-packaging-200", kParts);
  setenv("KESTRA_TOOL_LIBKIT", "/bin/true", 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  double module = 0;
  double shell = 0;
  for (auto _ : state) {
    const double run = Seconds([&] { Verify(project, 1); });
    state.SetIterationTime(run);
    module += run;
    shell += Seconds([] { std::system("bash -c 'for i in $(seq 200); do /bin/true; done'"); });
  }
  unsetenv("KESTRA_TOOL_LIBKIT");
  const double runs = static_cast<double>(state.iterations());
  state.counters["ms_per_part"] = module / runs / kParts * 1000;
  state.counters["shell_ms_per_start"] = shell / runs / kParts * 1000;
  state.counters["ratio_to_shell_loop"] = module / shell;
  fs::remove_all(fs::path(project).parent_path());
}
BENCHMARK(BM_PerPartOverhead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ParallelSpeedup(benchmark::State& state) {
  constexpr int kParts = 20;
  const std::string project =
      MakeCleanLibraryProject(fs::temp_directory_path() / "kestra-bench-packaging-20", kParts);
  setenv("KESTRA_CELLPACK_CPU_MS", "50", 1);
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  double one = 0;
  double two = 0;
  for (auto _ : state) {
    one += Seconds([&] { Verify(project, 1); });
    const double run = Seconds([&] { Verify(project, 2); });
    state.SetIterationTime(run);
    two += run;
  }
  unsetenv("KESTRA_CELLPACK_CPU_MS");
  state.counters["j1_seconds"] = one / static_cast<double>(state.iterations());
  state.counters["j2_seconds"] = two / static_cast<double>(state.iterations());
  state.counters["speedup_j2"] = one / two;
  fs::remove_all(fs::path(project).parent_path());
}
BENCHMARK(BM_ParallelSpeedup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

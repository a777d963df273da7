// A tool that floods its output, run under the real launcher with the progress dialog open:
// every line goes through the launcher's pieces, WM_TOOL_PROGRESS and the pane's trimming.
// The yardstick (ratio_to_pipe_reader) is the same tool with its output read from a pipe by a
// plain loop that keeps nothing: what the launcher, the messages and the pane add to the
// tool's own run. (cat copying the output to /dev/null took a few milliseconds, mostly its
// own start, so its ratio swung from 15 to 50 times between runs.)
//
//   build/bench/dialogs_bench [--benchmark_filter=...]   (lines per run: KESTRA_BENCH_LINES)
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "ToolRunHarness.h"
#include "dialogs/CProgressDlg.h"
#include "outside/CToolLauncher.h"

namespace {

const std::string kFlood = std::string(KESTRA_BINARY_DIR) + "/tools/bin/progress-flood";

long LinesPerRun() {
  const char* text = std::getenv("KESTRA_BENCH_LINES");
  return text ? std::atol(text) : 500000;  // 20 bytes a line: 10 MB
}

extern "C" char** environ;

// Runs program with arguments and reads its standard output from a pipe until it ends,
// keeping nothing; waits for it.
void ReadThroughPipe(const std::vector<std::string>& words) {
  int ends[2];
  if (pipe(ends) != 0) std::abort();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, ends[1], 1);
  posix_spawn_file_actions_addclose(&actions, ends[0]);
  std::vector<std::string> copy = words;
  std::vector<char*> argv;
  for (auto& word : copy) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  close(ends[1]);
  static char buffer[1 << 16];
  while (read(ends[0], buffer, sizeof buffer) > 0) {
  }
  close(ends[0]);
  int status = 0;
  waitpid(child, &status, 0);
}

void BM_ToolOutputThroughPane(benchmark::State& state) {
  const long lines = LinesPerRun();
  CToolLauncher launcher;
  ToolRunHarness harness(launcher);
  setenv("KESTRA_TOOL_RULEX", kFlood.c_str(), 1);
  std::vector<double> paneSeconds;
  std::vector<double> readerSeconds;
  int paneLines = 0;
  for (auto _ : state) {
    ToolRunHarness::Outcome outcome;
    const double run = Seconds([&] {
      outcome =
          harness.Run([lines](CToolLauncher& l,
                              HWND owner) { l.launchRulex(std::to_string(lines), "lm", owner); },
                      {}, 0, 600000);
    });
    state.SetIterationTime(run);
    paneSeconds.push_back(run);
    paneLines = harness.Progress().Output().GetLineCount();
    if (outcome.result != 1) state.SkipWithError("the run did not end with 1");
    readerSeconds.push_back(Seconds([&] { ReadThroughPipe({kFlood, std::to_string(lines)}); }));
  }
  const double runs = static_cast<double>(state.iterations());
  // Medians of the iterations, each run beside its yardstick: one disturbed run of a shared
  // machine does not move them.
  state.counters["lines_per_second"] = static_cast<double>(lines) / Median(paneSeconds);
  state.counters["ratio_to_pipe_reader"] = Median(paneSeconds) / Median(readerSeconds);
  state.counters["pane_lines_at_end"] = paneLines;
  state.SetBytesProcessed(static_cast<int64_t>(lines * 20 * runs));
}
BENCHMARK(BM_ToolOutputThroughPane)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(7);

}  // namespace

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  setenv("QVD_INST_DIR", KESTRA_BINARY_DIR, 0);
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

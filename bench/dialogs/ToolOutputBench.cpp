// A tool that floods its output, run under the real launcher with the progress dialog open:
// every line goes through the launcher's pieces, WM_TOOL_PROGRESS and the pane's trimming.
// The yardstick (ratio_to_cat) is cat copying the same bytes to /dev/null, started directly
// (no shell, whose start would swing the ratio) and timed from start to end.
//
//   build/bench/dialogs_bench [--benchmark_filter=...]   (lines per run: KESTRA_BENCH_LINES)
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

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

// Runs program with arguments, standard output to the file output, and waits for it.
void RunDirectly(const std::vector<std::string>& words, const std::string& output) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  std::vector<std::string> copy = words;
  std::vector<char*> argv;
  for (auto& word : copy) argv.push_back(word.data());
  argv.push_back(nullptr);
  pid_t child = 0;
  if (posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  int status = 0;
  waitpid(child, &status, 0);
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ToolOutputThroughPane(benchmark::State& state) {
  const long lines = LinesPerRun();
  const auto file = std::filesystem::temp_directory_path() / "kestra-bench-flood.txt";
  RunDirectly({kFlood, std::to_string(lines)}, file.string());

  CToolLauncher launcher;
  ToolRunHarness harness(launcher);
  setenv("KESTRA_TOOL_RULEX", kFlood.c_str(), 1);
  double paneSeconds = 0;
  double catSeconds = 0;
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
    paneSeconds += run;
    paneLines = harness.Progress().Output().GetLineCount();
    if (outcome.result != 1) state.SkipWithError("the run did not end with 1");
    catSeconds += Seconds([&] { RunDirectly({"cat", file.string()}, "/dev/null"); });
  }
  std::filesystem::remove(file);
  const double runs = static_cast<double>(state.iterations());
  state.counters["lines_per_second"] = lines * runs / paneSeconds;
  state.counters["ratio_to_cat"] = paneSeconds / catSeconds;
  state.counters["pane_lines_at_end"] = paneLines;
  state.SetBytesProcessed(static_cast<int64_t>(lines * 20 * runs));
}
BENCHMARK(BM_ToolOutputThroughPane)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

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

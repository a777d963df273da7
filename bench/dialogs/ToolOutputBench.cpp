// A tool that floods its output, run under the real launcher with the progress dialog open:
// every line goes through the launcher's pieces, WM_TOOL_PROGRESS and the pane's trimming.
// The same bytes copied by cat to /dev/null give the yardstick (ratio_to_cat).
//
//   build/bench/dialogs_bench [--benchmark_filter=...]   (lines per run: KESTRA_BENCH_LINES)
#include <benchmark/benchmark.h>

#include <QApplication>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "ToolRunHarness.h"
#include "dialogs/CProgressDlg.h"
#include "outside/CToolLauncher.h"

namespace {

const std::string kFlood = std::string(KESTRA_BINARY_DIR) + "/tools/bin/progress-flood";

long LinesPerRun() {
  const char* text = std::getenv("KESTRA_BENCH_LINES");
  return text ? std::atol(text) : 500000;  // 20 bytes a line: 10 MB
}

double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void BM_ToolOutputThroughPane(benchmark::State& state) {
  const long lines = LinesPerRun();
  const auto file = std::filesystem::temp_directory_path() / "kestra-bench-flood.txt";
  std::system((kFlood + " " + std::to_string(lines) + " > " + file.string()).c_str());
  const std::string cat = "cat " + file.string() + " > /dev/null";

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
    catSeconds += Seconds([&] { std::system(cat.c_str()); });
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

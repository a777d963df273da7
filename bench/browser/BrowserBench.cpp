// What a 10,000-cell library costs in the browser: showing the tree (which reads no cells),
// expanding the library (one directory read and 10,000 items), and the directory read alone.
// Run with QT_QPA_PLATFORM=offscreen. ShowAgainstExpand gives the ratio of the first two,
// measured side by side.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidget>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "BenchTiming.h"
#include "libformat/LibraryTree.h"
#include "outside/C5XBrowserUI.h"
#include "projectfile/SpiExpandVariables.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCells = 10000;

// A project folder with one 10,000-cell library, kept in the build tree between runs.
std::string BigProject() {
  const fs::path project = fs::path(KESTRA_BINARY_DIR) / "bench/fixtures/big_project";
  const fs::path lib = project / "big";
  if (!fs::exists(project / "qvd.lib")) {
    for (int i = 0; i < kCells; ++i) fs::create_directories(lib / ("c" + std::to_string(i)));
    std::ofstream(project / "qvd.lib") << "big big\n";
  }
  return project.string() + "/";
}

// The browser's tree shown in a window; with expand, the library expanded too.
void Show(const std::string& project, bool expand) {
  QWidget window;
  C5XBrowserUI browser(project, "big");
  browser.ShowBrowserTree(&window, 4, {20, 65, 241, 288}, {}, nullptr, nullptr, "", 1, 1);
  auto* tree = window.findChild<QTreeWidget*>("browserTree");
  if (expand) tree->topLevelItem(0)->setExpanded(true);
  benchmark::DoNotOptimize(tree->topLevelItem(0)->childCount());
}

void ShowTree(benchmark::State& state) {
  const std::string project = BigProject();
  for (auto _ : state) Show(project, false);
}
BENCHMARK(ShowTree)->Unit(benchmark::kMillisecond);

void ShowTreeAndExpandLibrary(benchmark::State& state) {
  const std::string project = BigProject();
  for (auto _ : state) Show(project, true);
}
BENCHMARK(ShowTreeAndExpandLibrary)->Unit(benchmark::kMillisecond);

// The browser opened on the project of the imported KiCad libraries (209 libraries, 17,569
// cells; bench/real-libraries makes it and names it in KESTRA_REAL_PROJECT), its first library
// expanded: what a librarian waits for before the first click.
void ShowRealLibraries(benchmark::State& state) {
  const char* project = std::getenv("KESTRA_REAL_PROJECT");
  if (project == nullptr || *project == '\0') {
    state.SkipWithError("KESTRA_REAL_PROJECT is not set (bench/real-libraries sets it)");
    return;
  }
  const std::string folder = fs::path(project).parent_path().string() + "/";
  for (auto _ : state) {
    QWidget window;
    C5XBrowserUI browser(folder, "");
    browser.ShowBrowserTree(&window, 4, {20, 65, 241, 288}, {}, nullptr, nullptr, "", 1, 1);
    auto* tree = window.findChild<QTreeWidget*>("browserTree");
    if (tree->topLevelItemCount() == 0) {
      state.SkipWithError("no libraries");
      break;
    }
    tree->topLevelItem(0)->setExpanded(true);
    state.counters["libraries"] = tree->topLevelItemCount();
  }
}
BENCHMARK(ShowRealLibraries)->Unit(benchmark::kMillisecond);

// Both in turn in each iteration: the median of the iterations' ratios of showing the tree
// to showing it and expanding the 10,000-cell library (show_to_expand).
void ShowAgainstExpand(benchmark::State& state) {
  const std::string project = BigProject();
  std::vector<double> ratios;
  for (auto _ : state) {
    const double show = Seconds([&] { Show(project, false); });
    ratios.push_back(show / Seconds([&] { Show(project, true); }));
  }
  state.counters["show_to_expand"] = Median(ratios);
}
BENCHMARK(ShowAgainstExpand)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void ReadCellsOnly(benchmark::State& state) {
  const std::string project = BigProject();
  for (auto _ : state) {
    LibraryTree tree(project + "qvd.lib", SpiExpandVariables);
    benchmark::DoNotOptimize(tree.Cells("big").size());
  }
}
BENCHMARK(ReadCellsOnly)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM",
          qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// What 20,000 footprints in 20 folders cost: a bare listing of the folders, building the
// footprint list (".psm" then ".dra", as the dialog does), and one keystroke of the filter in
// the footprint dialog (the grid refilled with every name, the view brought up to date).
// Run with QT_QPA_PLATFORM=offscreen. ListAgainstListing gives the ratio of the first two,
// measured side by side.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "BenchTiming.h"
#include "context/CKestraCmdContext.h"
#include "outside/CFootprint.h"
#include "verify/footprint/CViewFootprint.h"
#include "verify/footprint/FootprintRows.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFolders = 20;
constexpr int kPerFolder = 1000;

// The project and its folders, kept in the build tree between runs.
std::string BigProject() {
  const fs::path root = fs::path(KESTRA_BINARY_DIR) / "bench/fixtures/footprints";
  const fs::path project = root / "p.tak";
  if (!fs::exists(project)) {
    std::string path;
    for (int f = 0; f < kFolders; ++f) {
      const fs::path folder = root / ("lib" + std::to_string(f));
      fs::create_directories(folder);
      for (int i = 0; i < kPerFolder; ++i) {
        const std::string name = "FP" + std::to_string(f) + "_" + std::to_string(i);
        std::ofstream(folder / (name + ".dra")) << "footprint " << name << "\npads 2\npitch 50\n";
      }
      path += " './lib" + std::to_string(f) + "'";
    }
    std::ofstream(project) << "START_PAVREL\nPSMPATH" << path << "\nEND_PAVREL\n";
  }
  return project.string();
}

// The names of the 20 folders, read once (the yardstick).
std::size_t ListFolders(const fs::path& root) {
  std::size_t files = 0;
  for (int f = 0; f < kFolders; ++f) {
    for (const auto& entry : fs::directory_iterator(root / ("lib" + std::to_string(f)))) {
      benchmark::DoNotOptimize(entry.path().filename().string());
      ++files;
    }
  }
  return files;
}

// The footprint list as the dialog builds it; the number of footprints.
std::size_t BuildFootprints(const std::string& project) {
  CFootprint footprints;
  BuildFootprintList(footprints, project);
  std::vector<CFootprintItem*> items;
  footprints.GetFootprintList(items);
  return items.size();
}

void BareListing(benchmark::State& state) {
  const fs::path root = fs::path(BigProject()).parent_path();
  for (auto _ : state) benchmark::DoNotOptimize(ListFolders(root));
}
BENCHMARK(BareListing)->Unit(benchmark::kMillisecond);

void BuildList(benchmark::State& state) {
  const std::string project = BigProject();
  for (auto _ : state)
    if (BuildFootprints(project) != kFolders * kPerFolder) state.SkipWithError("wrong count");
}
BENCHMARK(BuildList)->Unit(benchmark::kMillisecond);

// The list built and the folders listed in turn in each iteration: the median of the
// iterations' ratios (list_to_listing, aim: within 3), wall and processor time.
void ListAgainstListing(benchmark::State& state) {
  const std::string project = BigProject();
  const fs::path root = fs::path(project).parent_path();
  std::vector<double> ratios;
  std::vector<double> cpuRatios;
  for (auto _ : state) {
    const double cpuBefore = CpuSeconds();
    const double listing = Seconds([&] { benchmark::DoNotOptimize(ListFolders(root)); });
    const double cpuListing = CpuSeconds() - cpuBefore;
    const double list = Seconds([&] { benchmark::DoNotOptimize(BuildFootprints(project)); });
    ratios.push_back(list / listing);
    cpuRatios.push_back((CpuSeconds() - cpuBefore - cpuListing) / cpuListing);
  }
  state.counters["list_to_listing"] = Median(ratios);
  state.counters["cpu_list_to_listing"] = Median(cpuRatios);
}
BENCHMARK(ListAgainstListing)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// One keystroke: the filter text changes, the grid is refilled with all 20,000 names and the
// view learns of it.
void FilterKeystroke(benchmark::State& state) {
  CKestraCmdContext command;
  command.SetProduct("bench");
  command.SetProject(BigProject());
  CViewFootprint dialog(&command, command.GetLauncher(), "ViewFootprint");
  QTimer::singleShot(0, &dialog, [&] {
    auto* edit = dialog.DlgItem<QLineEdit>(CViewFootprint::IDC_FILTER);
    bool star = false;
    for (auto _ : state) {
      edit->setText((star = !star) ? "*" : "**");  // both match every name
      QCoreApplication::processEvents();
    }
    if (dialog.Grid().GetRowCount() != kFolders * kPerFolder) state.SkipWithError("wrong count");
    dialog.ClickDlgItem(CViewFootprint::IDC_CLOSE);
  });
  dialog.DoModal();
}
BENCHMARK(FilterKeystroke)->Unit(benchmark::kMillisecond);

// One keystroke of the filter over the footprints of the imported KiCad libraries (12,504
// names in 137 folders; bench/real-libraries names the project in KESTRA_REAL_PROJECT): the
// pattern alternates between two that each match a few hundred real names.
void FilterKeystrokeRealNames(benchmark::State& state) {
  const char* project = std::getenv("KESTRA_REAL_PROJECT");
  if (project == nullptr || *project == '\0') {
    state.SkipWithError("KESTRA_REAL_PROJECT is not set (bench/real-libraries sets it)");
    return;
  }
  CKestraCmdContext command;
  command.SetProduct("bench");
  command.SetProject(project);
  CViewFootprint dialog(&command, command.GetLauncher(), "ViewFootprint");
  QTimer::singleShot(0, &dialog, [&] {
    auto* edit = dialog.DlgItem<QLineEdit>(CViewFootprint::IDC_FILTER);
    edit->setText("");
    QCoreApplication::processEvents();
    state.counters["footprints"] = dialog.Grid().GetRowCount();
    bool soic = false;
    for (auto _ : state) {
      edit->setText((soic = !soic) ? "SOIC*" : "QFN*");
      QCoreApplication::processEvents();
    }
    dialog.ClickDlgItem(CViewFootprint::IDC_CLOSE);
  });
  dialog.DoModal();
}
BENCHMARK(FilterKeystrokeRealNames)->Unit(benchmark::kMillisecond);

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

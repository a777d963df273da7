// What checking and extracting a 2,000-pin part cost, against reading the part's files once:
// the bytes of its package and symbol files, and the part model filled from them (what both
// template operations start from). AgainstReadingThePart gives the ratios, measured side by
// side.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "BenchTiming.h"
#include "base/ReplaceFile.h"
#include "outside/Tamsin.h"
#include "suite/partmodel/PartModelReader.h"

namespace fs = std::filesystem;

namespace {

constexpr int kPins = 2000;

// The project (qvd.lib, library "parts", cell "wide"), kept in the build tree between runs.
fs::path Fixture() {
  const fs::path root = fs::path(KESTRA_BINARY_DIR) / "bench/fixtures/template";
  const fs::path cell = root / "parts" / "wide";
  if (!fs::exists(root / "site.tpl")) {
    fs::create_directories(cell / "package");
    fs::create_directories(cell / "sym_1");
    std::ofstream(root / "qvd.lib") << "parts parts\n";
    std::ostringstream package, symbol;
    package << "package wide\nsymbol wide\nproperty CLASS IC\nproperty PART_NAME WIDE\n"
            << "physical WIDE_BGA\n  property JEDEC_TYPE BGA2000\n";
    symbol << "symbol wide\norigin 0 0\nextent -100 -10000 100 10000\n";
    for (int i = 0; i < kPins; ++i) {
      const bool input = i % 2 == 0;
      package << "  pin P" << i << ' ' << i + 1 << (input ? " input\n" : " tristate\n")
              << "  load P" << i << " input " << (input ? "0.01" : "0.02") << "\n";
      if (!input) package << "  load P" << i << " output 0.4\n";
      symbol << "pin P" << i << ' ' << (input ? -100 : 100) << ' ' << (i / 2) * 10 - 9990 << "\n";
    }
    package << "end\n";
    std::ofstream(cell / "package/package.pkg") << package.str();
    std::ofstream(cell / "sym_1/symbol.sym") << symbol.str();
    AppTemplateExtract extract;
    extract.loadPart((root / "qvd.lib").string(), "parts", "wide");
    extract.runExtract();
    extract.saveAs((root / "site.tpl").string());
  }
  return root;
}

void ReadBytes(benchmark::State& state) {
  const fs::path cell = Fixture() / "parts/wide";
  for (auto _ : state) {
    std::string package, symbol;
    ReadRegularFile((cell / "package/package.pkg").string(), package);
    ReadRegularFile((cell / "sym_1/symbol.sym").string(), symbol);
    benchmark::DoNotOptimize(package.size() + symbol.size());
  }
}
BENCHMARK(ReadBytes)->Unit(benchmark::kMillisecond);

// The part model filled from the part's files once.
void ReadPart(const fs::path& cell) {
  EChipsData chips;
  EPart part(&chips);
  ReadPartModel("parts", cell.string(), chips, part);
  benchmark::DoNotOptimize(chips.getLogPartList().GetCount());
}

// The verification: template read, part read through the library list, all three aspects.
// False when it found differences.
bool Check(const fs::path& root) {
  BMesgList differences;
  AppPartCheck check;
  check.setErrorList(&differences);
  check.loadTemplate((root / "site.tpl").string());
  check.loadPart((root / "qvd.lib").string(), "parts", "wide");
  return check.runChecks(AppPartCheck::AllAspects) == 0;
}

// The extraction: part read through the library list, template extracted and written.
void Extract(const fs::path& root) {
  AppTemplateExtract extract;
  extract.loadPart((root / "qvd.lib").string(), "parts", "wide");
  extract.runExtract();
  extract.saveAs((root / "extracted.tpl").string());
}

void ReadPartOnce(benchmark::State& state) {
  const fs::path cell = Fixture() / "parts/wide";
  for (auto _ : state) ReadPart(cell);
}
BENCHMARK(ReadPartOnce)->Unit(benchmark::kMillisecond);

void CheckPart(benchmark::State& state) {
  const fs::path root = Fixture();
  for (auto _ : state)
    if (!Check(root)) state.SkipWithError("differences");
}
BENCHMARK(CheckPart)->Unit(benchmark::kMillisecond);

void ExtractPart(benchmark::State& state) {
  const fs::path root = Fixture();
  for (auto _ : state) Extract(root);
}
BENCHMARK(ExtractPart)->Unit(benchmark::kMillisecond);

// The three in turn in each iteration: the medians of the iterations' ratios of checking and
// of extracting to reading the part once (check_to_read, extract_to_read; aim: within 5).
void AgainstReadingThePart(benchmark::State& state) {
  const fs::path root = Fixture();
  std::vector<double> check;
  std::vector<double> extract;
  for (auto _ : state) {
    const double read = Seconds([&] { ReadPart(root / "parts/wide"); });
    check.push_back(Seconds([&] { Check(root); }) / read);
    extract.push_back(Seconds([&] { Extract(root); }) / read);
  }
  state.counters["check_to_read"] = Median(check);
  state.counters["extract_to_read"] = Median(extract);
}
BENCHMARK(AgainstReadingThePart)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

BENCHMARK_MAIN();

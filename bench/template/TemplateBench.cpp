// What checking and extracting a 2,000-pin part cost, against reading the part's files once:
// the bytes of its package and symbol files, and the part model filled from them (what both
// template operations start from). Compare the figures as ratios of one run.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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

void ReadPartOnce(benchmark::State& state) {
  const fs::path cell = Fixture() / "parts/wide";
  for (auto _ : state) {
    EChipsData chips;
    EPart part(&chips);
    ReadPartModel("parts", cell.string(), chips, part);
    benchmark::DoNotOptimize(chips.getLogPartList().GetCount());
  }
}
BENCHMARK(ReadPartOnce)->Unit(benchmark::kMillisecond);

// The verification: template read, part read through the library list, all three aspects.
void CheckPart(benchmark::State& state) {
  const fs::path root = Fixture();
  for (auto _ : state) {
    BMesgList differences;
    AppPartCheck check;
    check.setErrorList(&differences);
    check.loadTemplate((root / "site.tpl").string());
    check.loadPart((root / "qvd.lib").string(), "parts", "wide");
    if (check.runChecks(AppPartCheck::AllAspects) != 0) state.SkipWithError("differences");
  }
}
BENCHMARK(CheckPart)->Unit(benchmark::kMillisecond);

// The extraction: part read through the library list, template extracted and written.
void ExtractPart(benchmark::State& state) {
  const fs::path root = Fixture();
  for (auto _ : state) {
    AppTemplateExtract extract;
    extract.loadPart((root / "qvd.lib").string(), "parts", "wide");
    extract.runExtract();
    extract.saveAs((root / "extracted.tpl").string());
  }
}
BENCHMARK(ExtractPart)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

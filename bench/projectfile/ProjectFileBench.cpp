// Parsing generated project files against a bare std::getline read, parse scaling with the
// number of directives, opening a four-level hierarchy and GetValue latency. The files are
// generated once into a temporary folder that is removed at exit.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "projectfile/CSpiFile.h"
#include "projectfile/CSpiProgramList.h"
#include "projectfile/CSpiProject.h"
#include "projectfile/SpiProcessState.h"
#include "projectfile/SpiReader.h"

namespace {

class BenchFolder {
 public:
  BenchFolder() {
    char pattern[] = "/tmp/spi-bench-XXXXXX";
    if (!mkdtemp(pattern)) std::abort();
    path_ = pattern;
  }
  ~BenchFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

BenchFolder& Folder() {
  static BenchFolder folder;
  return folder;
}

// A file of sections of 40 directives each, about targetBytes long.
std::string ManyPrograms(std::size_t targetBytes) {
  std::string text = "{ generated }\n";
  for (int program = 0; text.size() < targetBytes; ++program) {
    text += std::string("START_PROGRAM") + std::to_string(program) + "\n";
    for (int d = 0; d < 40; ++d)
      text += std::string("directive_") + std::to_string(d) +
              " 'value one' \"value two\" three \\\n four\n";
    text += std::string("END_PROGRAM") + std::to_string(program) + "\n\n";
  }
  return text;
}

std::string OneProgram(int directives, const std::string& prefix = "d") {
  std::string text = "START_GLOBAL\n";
  for (int d = 0; d < directives; ++d)
    text += prefix + std::to_string(d) + " '/some/path/" + std::to_string(d) + "' x\n";
  return text + "END_GLOBAL\n";
}

std::string Cached(const std::string& key, const std::string& content) {
  static std::map<std::string, std::string> files;
  auto& path = files[key];
  if (path.empty()) {
    path = (Folder().path() / key).string();
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
  }
  return path;
}

void Parse(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    auto programs = std::make_unique<CSpiProgramList>();
    CSpiFile file;
    file.Open(path);
    benchmark::DoNotOptimize(SpiReadFile(*programs, file, 2));
    state.PauseTiming();  // freeing the model is not reading
    programs.reset();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
}

void BareGetline(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    std::ifstream in(path);
    std::string line;
    std::size_t lines = 0;
    while (std::getline(in, line)) ++lines;
    benchmark::DoNotOptimize(lines);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
}

const std::string& FiftyMegabytes() {
  static const std::string path = Cached("many.tak", ManyPrograms(50u << 20));
  return path;
}

void BM_BareGetline50MB(benchmark::State& state) { BareGetline(state, FiftyMegabytes()); }
void BM_Parse50MB(benchmark::State& state) { Parse(state, FiftyMegabytes()); }
void BM_ParseDirectives(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Parse(state, Cached(std::string("one-") + std::to_string(count) + ".tak", OneProgram(count)));
}

// Four levels with directivesPerLevel each: half shared with the level below, half new, and a
// few control settings in the install file.
std::string Hierarchy(int directivesPerLevel) {
  const std::string root = std::string("h") + std::to_string(directivesPerLevel);
  std::string controls = "START_GLOBAL_CONTROL_SETTINGS\n";
  for (int d = 0; d < 20; ++d) controls += std::string("a") + std::to_string(d) + " lock\n";
  controls += "END_GLOBAL_CONTROL_SETTINGS\n";
  Cached(root + "/share/qvdsetup/projmgr/qvd.tak", OneProgram(directivesPerLevel, "a") + controls);
  Cached(root + "/share/qvdsetup/projmgr/site.tak", OneProgram(directivesPerLevel, "a"));
  Cached(root + "/share/qvdsetup/projmgr/user.tak", OneProgram(directivesPerLevel, "u"));
  setenv("QSF_SEARCH_PATH", (Folder().path() / root / "share").c_str(), 1);
  setenv("TMPDIR", Folder().path().c_str(), 1);
  SpiResetProcessState();
  return Cached(root + "/p.tak", OneProgram(directivesPerLevel, "p"));
}

void BM_OpenHierarchy(benchmark::State& state) {
  const std::string project = Hierarchy(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    CSpiProject spi;
    benchmark::DoNotOptimize(spi.Open(project));
  }
  state.counters["directives"] = static_cast<double>(4 * state.range(0));
}

void BM_GetValue(benchmark::State& state) {
  const std::string project = Hierarchy(static_cast<int>(state.range(0)));
  CSpiProject spi;
  if (spi.Open(project) != 0) state.SkipWithError("open failed");
  std::string value;
  int i = 0;
  const int range = static_cast<int>(state.range(0));
  for (auto _ : state) {
    std::string name = "p";
    name += std::to_string(i++ % range);
    benchmark::DoNotOptimize(spi.GetValue(name, value));
  }
}

}  // namespace

BENCHMARK(BM_BareGetline50MB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Parse50MB)->MinTime(3.0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseDirectives)
    ->Arg(100000)
    ->Arg(1000000)
    ->MinTime(3.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenHierarchy)->Arg(300)->Arg(25000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetValue)->Arg(300)->Arg(25000);

BENCHMARK_MAIN();

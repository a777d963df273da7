// Parsing generated project files against a bare std::getline read, in one process (repeated,
// the model's release included) and in fresh processes (whole processes, what tak and kestra
// pay: a first parse with every page of the model new); parse scaling with the number of
// directives; the model's memory per directive; opening the generated site hierarchy of
// SiteHierarchy.h (first Open of a fresh process, and repeated) and a larger one; GetValue
// latency. The files are generated once into a temporary folder that is removed at exit.
//
//   build/bench/projectfile_bench [--benchmark_filter=...]
//   build/bench/projectfile_bench --child parse|read|open FILE   (one measured run, used by the
//   above)
//   build/bench/projectfile_bench --site-hierarchy FOLDER   (writes the site hierarchy there
//   and prints its project file, to be opened with tak)
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "SiteHierarchy.h"
#include "projectfile/CSpiFile.h"
#include "projectfile/CSpiProgramList.h"
#include "projectfile/CSpiProject.h"
#include "projectfile/SpiProcessState.h"
#include "projectfile/SpiReader.h"

extern char** environ;

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

// A file of sections of 40 directives each, one line a directive, about targetBytes long
// (bench/whole-process writes the same file with awk).
std::string ManyPrograms(std::size_t targetBytes) {
  std::string text = "{ generated }\n";
  for (int program = 0; text.size() < targetBytes; ++program) {
    text += std::string("START_PROGRAM") + std::to_string(program) + "\n";
    for (int d = 0; d < 40; ++d)
      text +=
          std::string("directive_") + std::to_string(d) + " 'value one' \"value two\" three four\n";
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

const std::string& FiftyMegabytes() {
  static const std::string path = Cached("many.tak", ManyPrograms(50u << 20));
  return path;
}

const std::string& Directives(int count) {
  static std::map<int, std::string> paths;
  auto& path = paths[count];
  if (path.empty())
    path = Cached(std::string("one-") + std::to_string(count) + ".tak", OneProgram(count));
  return path;
}

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

// The resident memory of this process in bytes.
double ResidentBytes() {
  long pages = 0;
  long resident = 0;
  if (FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// One parse: read, build the model, release it. The directives read.
std::size_t ParseOnce(const std::string& path) {
  auto programs = std::make_unique<CSpiProgramList>();
  CSpiFile file;
  file.Open(path);
  SpiReadFile(*programs, file, 2);
  return programs->DirectiveCount();
}

std::size_t BareReadOnce(const std::string& path) {
  std::ifstream in(path);
  std::string line;
  std::size_t lines = 0;
  while (std::getline(in, line)) ++lines;
  return lines;
}

// What a child run measured.
struct ChildRun {
  double seconds = 0;            // the work inside the child
  double cpuSeconds = 0;         // its processor time
  double processSeconds = 0;     // the child from start to end, seen by the parent
  double processCpuSeconds = 0;  // the whole child's processor time (user and system)
  double residentGrowth = 0;     // resident memory added by the work (before its release)
  double modelBytes = 0;         // address space the model has reserved (untouched pages are free)
  double directives = 0;
};

// The child's side: one run of the work, its figures on standard output.
// Wall and processor time of the work only: stopped while the measurements themselves (the
// resident memory, the model's size) are taken.
class Stopwatch {
 public:
  void Start() {
    start_ = std::chrono::steady_clock::now();
    cpuStart_ = CpuSeconds();
  }
  void Stop() {
    seconds += Seconds(start_);
    cpuSeconds += CpuSeconds() - cpuStart_;
  }
  double seconds = 0;
  double cpuSeconds = 0;

 private:
  std::chrono::steady_clock::time_point start_;
  double cpuStart_ = 0;
};

int ChildMain(const std::string& mode, const std::string& path) {
  const double before = ResidentBytes();
  Stopwatch work;
  double resident = 0;
  double model = 0;
  double count = 0;
  work.Start();
  if (mode == "parse") {
    auto programs = std::make_unique<CSpiProgramList>();
    CSpiFile file;
    if (file.Open(path) != 0 || SpiReadFile(*programs, file, 2) != 0) return 1;
    work.Stop();
    resident = ResidentBytes() - before;
    model = static_cast<double>(programs->BytesHeld());
    count = static_cast<double>(programs->DirectiveCount());
    work.Start();
    programs.reset();  // the release is part of what a process pays
  } else if (mode == "open") {
    // The first Open of a process: the search for the setup files, four levels read, the
    // refusals logged, the model released.
    auto spi = std::make_unique<CSpiProject>();
    if (spi->Open(path) != 0) return 1;
    work.Stop();
    resident = ResidentBytes() - before;
    count = 1;
    work.Start();
    spi.reset();
  } else {
    count = static_cast<double>(BareReadOnce(path));
    work.Stop();
    resident = ResidentBytes() - before;
    work.Start();
  }
  work.Stop();
  std::printf("%.9f %.9f %.0f %.0f %.0f\n", work.seconds, work.cpuSeconds, resident, model, count);
  return 0;
}

// Runs this program as a child for one measured run.
ChildRun RunChild(const std::string& mode, const std::string& path) {
  static const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) std::abort();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], 1);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::vector<std::string> words = {self, "--child", mode, path};
  std::vector<char*> argv;
  for (auto& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  pid_t child = 0;
  if (posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), environ) != 0) std::abort();
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  std::string out;
  char buffer[256];
  ssize_t got;
  while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0)
    out.append(buffer, static_cast<std::size_t>(got));
  close(pipeEnds[0]);
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0) {
  }
  ChildRun run;
  run.processSeconds = Seconds(start);
  run.processCpuSeconds =
      static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
      static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      std::sscanf(out.c_str(), "%lf %lf %lf %lf %lf", &run.seconds, &run.cpuSeconds,
                  &run.residentGrowth, &run.modelBytes, &run.directives) != 5)
    std::abort();
  return run;
}

// Repeated in one process, each parse with its model's release, against the bare read of the
// same file in the same iterations. Ratios are of the medians of the iterations.
void Repeated(benchmark::State& state, const std::string& path) {
  std::vector<double> parseSeconds;
  std::vector<double> readSeconds;
  std::vector<double> parseCpu;
  std::vector<double> readCpu;
  for (auto _ : state) {
    auto start = std::chrono::steady_clock::now();
    double cpu = CpuSeconds();
    benchmark::DoNotOptimize(ParseOnce(path));
    const double parse = Seconds(start);
    parseCpu.push_back(CpuSeconds() - cpu);
    start = std::chrono::steady_clock::now();
    cpu = CpuSeconds();
    benchmark::DoNotOptimize(BareReadOnce(path));
    readSeconds.push_back(Seconds(start));
    readCpu.push_back(CpuSeconds() - cpu);
    parseSeconds.push_back(parse);
    state.SetIterationTime(parse);
  }
  state.counters["ratio_to_bare_read"] = Median(parseSeconds) / Median(readSeconds);
  state.counters["cpu_ratio_to_bare_read"] = Median(parseCpu) / Median(readCpu);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(std::filesystem::file_size(path)));
}

// Each iteration a fresh process parses the file once (and releases the model) and another
// reads it bare, both whole processes of this program (the same start, the same library
// loading): ratios of wall and processor time from each process's start to its exit, the
// median of the pairs' ratios; the work inside the processes alone beside them.
void Fresh(benchmark::State& state, const std::string& path) {
  const double fileBytes = static_cast<double>(std::filesystem::file_size(path));
  std::vector<double> wallRatios;
  std::vector<double> cpuRatios;
  std::vector<double> workRatios;
  ChildRun parse;
  for (auto _ : state) {
    parse = RunChild("parse", path);
    const ChildRun read = RunChild("read", path);
    wallRatios.push_back(parse.processSeconds / read.processSeconds);
    cpuRatios.push_back(parse.processCpuSeconds / read.processCpuSeconds);
    workRatios.push_back(parse.seconds / read.seconds);
    state.SetIterationTime(parse.processSeconds);
  }
  state.counters["process_ratio"] = Median(wallRatios);
  state.counters["process_cpu_ratio"] = Median(cpuRatios);
  state.counters["work_ratio"] = Median(workRatios);
  state.counters["directives"] = parse.directives;
  state.counters["resident_per_directive"] = parse.residentGrowth / parse.directives;
  state.counters["resident_to_file"] = parse.residentGrowth / fileBytes;
  // Address space, not memory: the arena reserves blocks ahead and only touched pages count;
  // resident_to_file is what the model costs.
  state.counters["reserved_to_file"] = parse.modelBytes / fileBytes;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(fileBytes));
}

void BM_Parse50MB(benchmark::State& state) { Repeated(state, FiftyMegabytes()); }
void BM_FreshParse50MB(benchmark::State& state) { Fresh(state, FiftyMegabytes()); }
void BM_ParseDirectives(benchmark::State& state) {
  Repeated(state, Directives(static_cast<int>(state.range(0))));
}
void BM_FreshParseDirectives(benchmark::State& state) {
  Fresh(state, Directives(static_cast<int>(state.range(0))));
}

// 1,000,000 directives against 100,000, both in fresh processes (the same allocator and page
// conditions) and both repeated in this process, in the same iterations; medians.
void BM_Scaling(benchmark::State& state) {
  std::vector<double> freshSmall;
  std::vector<double> freshLarge;
  std::vector<double> repeatedSmall;
  std::vector<double> repeatedLarge;
  std::vector<double> cpuSmall;
  std::vector<double> cpuLarge;
  for (auto _ : state) {
    const ChildRun freshS = RunChild("parse", Directives(100000));
    const ChildRun freshL = RunChild("parse", Directives(1000000));
    freshSmall.push_back(freshS.seconds);
    freshLarge.push_back(freshL.seconds);
    cpuSmall.push_back(freshS.cpuSeconds);
    cpuLarge.push_back(freshL.cpuSeconds);
    for (int i = 0; i < 10; ++i) {
      const auto start = std::chrono::steady_clock::now();
      benchmark::DoNotOptimize(ParseOnce(Directives(100000)));
      repeatedSmall.push_back(Seconds(start));
    }
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(ParseOnce(Directives(1000000)));
    const double large = Seconds(start);
    repeatedLarge.push_back(large);
    state.SetIterationTime(large);
  }
  state.counters["fresh_1M_to_100k"] = Median(freshLarge) / Median(freshSmall);
  state.counters["fresh_cpu_1M_to_100k"] = Median(cpuLarge) / Median(cpuSmall);
  state.counters["repeated_1M_to_100k"] = Median(repeatedLarge) / Median(repeatedSmall);
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

// The generated site of SiteHierarchy.h (1,200 value lines over four levels, 275 refusals
// logged), with the setup search path and the temporary folder set for it.
std::string Site() {
  static const std::string project = site_hierarchy::Write(Folder().path() / "site");
  setenv("QSF_SEARCH_PATH", (Folder().path() / "site/share").c_str(), 1);
  setenv("TMPDIR", Folder().path().c_str(), 1);
  SpiResetProcessState();
  return project;
}

void OpenRepeated(benchmark::State& state, const std::string& project) {
  for (auto _ : state) {
    CSpiProject spi;
    benchmark::DoNotOptimize(spi.Open(project));
  }
}

// The first Open in fresh processes (what one run of tak or kestra pays: the setup files
// searched for, four levels read, the refusals logged, the model released); medians.
void OpenFresh(benchmark::State& state, const std::string& project) {
  std::vector<double> cpu;
  std::vector<double> seconds;
  for (auto _ : state) {
    const ChildRun open = RunChild("open", project);
    cpu.push_back(open.cpuSeconds);
    seconds.push_back(open.seconds);
    state.SetIterationTime(open.seconds);
  }
  state.counters["open_ms"] = Median(seconds) * 1e3;
  state.counters["open_cpu_ms"] = Median(cpu) * 1e3;
}

void BM_OpenSite(benchmark::State& state) { OpenRepeated(state, Site()); }
void BM_FreshOpenSite(benchmark::State& state) { OpenFresh(state, Site()); }

void BM_OpenHierarchy(benchmark::State& state) {
  OpenRepeated(state, Hierarchy(static_cast<int>(state.range(0))));
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

BENCHMARK(BM_Parse50MB)->UseManualTime()->MinTime(3.0)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreshParse50MB)->UseManualTime()->Iterations(15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParseDirectives)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->MinTime(2.0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreshParseDirectives)
    ->Arg(100000)
    ->Arg(1000000)
    ->UseManualTime()
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Scaling)->UseManualTime()->Iterations(7)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenSite)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FreshOpenSite)->UseManualTime()->Iterations(21)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenHierarchy)->Arg(25000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetValue)->Arg(300)->Arg(25000);

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--child") == 0) return ChildMain(argv[2], argv[3]);
  if (argc == 3 && std::strcmp(argv[1], "--site-hierarchy") == 0) {
    std::printf("%s\n", site_hierarchy::Write(argv[2]).c_str());
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

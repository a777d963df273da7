// kestra verify all through the host on a generated library of KESTRA_BENCH_PARTS parts
// (default 200; the figure is 10,000), flows rulex and packaging:
//
// - BM_Overhead: `verify all -j 1 -process-per-job` against the same jobs (its -plan job list,
//   one kestra process a job) run one after the other by a shell, so that both sides start the
//   same processes: what planning, hashing, starting, reading results, copying logs and keeping
//   the history add per part and flow (overhead_ratio, aim: under 1.10); beside them the
//   default run in the workers (workers_to_shell).
// - BM_ParallelSpeedup: -j 2 against -j 1 with cellpack spending 200 ms of processor time per
//   part on 40 parts (speedup_j2, aim: at least 1.7 on two cores).
// - BM_WorkersAgainstProcesses: -j 2 in long-lived workers against -process-per-job, one
//   kestra process per job (workers_speedup).
// - BM_ChangedAfterTenTouched: -changed after touching 10 parts against a full run
//   (changed_share, aim: under 0.02).
// - BM_PlanTenThousandParts: -plan over 10,000 parts, the planning -changed pays first.
// - PageLoad/17000_parts_with_findings: the same of 17,000 parts whose failing and warning
//   cells carry three findings each (some waived), as the expandable rows need them.
// - PageLoad/10000_parts: the page of 10,000 parts and 3 flows (merged from generated results)
// loaded
//   by headless chromium, less chromium's time for an empty page (page_load_seconds, aim:
//   under 1), and the time from navigation to the page's script done and its layout made, as
//   the page itself measures it (page_ready_seconds: steadier on a busy machine, as
//   chromium's own start is left out).
//
//   build/bench/verify_all_bench [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "BenchProcess.h"
#include "BenchTiming.h"
#include "CleanLibraryProject.h"

namespace fs = std::filesystem;

namespace {

const std::string kKestra = std::string(KESTRA_BINARY_DIR) + "/bin/kestra";

int Parts() {
  const char* parts = std::getenv("KESTRA_BENCH_PARTS");
  return parts != nullptr ? std::atoi(parts) : 200;
}

// `kestra verify all` on the project's library with more options, started directly; its
// wall seconds.
double All(const std::string& project, const std::vector<std::string>& more) {
  std::vector<std::string> command = {kKestra, "verify", "all",    "-proj",          project,
                                      "-lib",  "big",    "-flows", "rulex,packaging"};
  command.insert(command.end(), more.begin(), more.end());
  return RunQuietly(command);
}

void BM_Overhead(benchmark::State& state) {
  const fs::path folder = fs::temp_directory_path() / "kestra-bench-all-overhead";
  const std::string project = MakeCleanLibraryProject(folder, Parts(), "temp_dir 'temp'\n");
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  All(project, {"-plan", (folder / "jobs.txt").string()});
  double all = 0;
  double shell = 0;
  double workers = 0;
  for (auto _ : state) {
    const double run = All(project, {"-j", "1", "-process-per-job"});
    state.SetIterationTime(run);
    all += run;
    shell += RunQuietly({"sh", (folder / "jobs.txt").string()});
    workers += All(project, {"-j", "1"});
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["ms_per_job"] = all / runs / (2.0 * Parts()) * 1000;
  state.counters["shell_ms_per_job"] = shell / runs / (2.0 * Parts()) * 1000;
  state.counters["overhead_ratio"] = all / shell;
  // What a user runs by default: the same jobs in the workers, against the shell's processes.
  state.counters["workers_to_shell"] = workers / shell;
  fs::remove_all(folder);
}
BENCHMARK(BM_Overhead)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ParallelSpeedup(benchmark::State& state) {
  const fs::path folder = fs::temp_directory_path() / "kestra-bench-all-parallel";
  const std::string project = MakeCleanLibraryProject(folder, 40, "temp_dir 'temp'\n");
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  setenv("KESTRA_CELLPACK_CPU_MS", "200", 1);
  double one = 0;
  double two = 0;
  for (auto _ : state) {
    one += All(project, {"-flows", "packaging", "-j", "1"});
    const double run = All(project, {"-flows", "packaging", "-j", "2"});
    state.SetIterationTime(run);
    two += run;
  }
  unsetenv("KESTRA_CELLPACK_CPU_MS");
  state.counters["j1_seconds"] = one / static_cast<double>(state.iterations());
  state.counters["j2_seconds"] = two / static_cast<double>(state.iterations());
  state.counters["speedup_j2"] = one / two;
  fs::remove_all(folder);
}
BENCHMARK(BM_ParallelSpeedup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_WorkersAgainstProcesses(benchmark::State& state) {
  const fs::path folder = fs::temp_directory_path() / "kestra-bench-all-workers";
  const std::string project = MakeCleanLibraryProject(folder, Parts(), "temp_dir 'temp'\n");
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  double workers = 0;
  double processes = 0;
  for (auto _ : state) {
    processes += All(project, {"-j", "2", "-process-per-job"});
    const double run = All(project, {"-j", "2"});
    state.SetIterationTime(run);
    workers += run;
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["workers_ms_per_job"] = workers / runs / (2.0 * Parts()) * 1000;
  state.counters["processes_ms_per_job"] = processes / runs / (2.0 * Parts()) * 1000;
  state.counters["workers_speedup"] = processes / workers;
  fs::remove_all(folder);
}
BENCHMARK(BM_WorkersAgainstProcesses)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

void BM_ChangedAfterTenTouched(benchmark::State& state) {
  const fs::path folder = fs::temp_directory_path() / "kestra-bench-all-changed";
  const std::string project = MakeCleanLibraryProject(folder, Parts(), "temp_dir 'temp'\n");
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  double full = 0;
  double changed = 0;
  for (auto _ : state) {
    full += All(project, {"-j", "2"});
    for (int i = 0; i < 10; ++i) {
      std::ofstream(folder / "libs/big" / ("part" + std::to_string(i * 7)) / "sym_1/symbol.sym",
                    std::ios::app)
          << "# touched\n";
    }
    const double run = All(project, {"-j", "2", "-changed"});
    state.SetIterationTime(run);
    changed += run;
  }
  state.counters["full_seconds"] = full / static_cast<double>(state.iterations());
  state.counters["changed_seconds"] = changed / static_cast<double>(state.iterations());
  state.counters["changed_share"] = changed / full;
  fs::remove_all(folder);
}
BENCHMARK(BM_ChangedAfterTenTouched)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(1);

// Planning 10,000 parts (20,000 jobs): the library read, every part hashed, the job list and
// its description written; what -changed pays before its jobs on a library of that size. The
// project is kept in the build tree between runs (making and removing its 40,000 files takes
// minutes).
void BM_PlanTenThousandParts(benchmark::State& state) {
  const fs::path folder = fs::path(KESTRA_BINARY_DIR) / "bench/fixtures/plan-10000";
  if (!fs::exists(folder / "bench.tak"))
    MakeCleanLibraryProject(folder, 10000, "temp_dir 'temp'\n");
  const std::string project = (folder / "bench.tak").string();
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  for (auto _ : state)
    state.SetIterationTime(All(project, {"-plan", (folder / "jobs.txt").string()}));
}
BENCHMARK(BM_PlanTenThousandParts)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(3);

// The data-ready milliseconds of the page that command dumps.
double ReadyMilliseconds(const std::string& command) {
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen((command + " 2>/dev/null").c_str(), "r"),
                                                   ::pclose);
  if (!pipe) std::abort();
  std::string dom;
  char chunk[65536];
  for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, pipe.get())) > 0;)
    dom.append(chunk, n);
  const std::size_t at = dom.find("data-ready=\"");
  return at == std::string::npos ? 0 : std::atof(dom.c_str() + at + 12);
}

// The page of parts parts and 3 flows, merged from generated results; with findings, each
// failing or warning cell carries findings (one in five waived by a waiver file), as a
// library of real faults would.
void PageLoad(benchmark::State& state, int parts, bool findings) {
  const int kPageParts = parts;
  const fs::path folder = fs::temp_directory_path() / "kestra-bench-all-page";
  fs::remove_all(folder);
  fs::create_directories(folder);
  {
    std::ofstream results(folder / "results.json");
    results << "{\"flow\":\"all\",\"library\":\"big\",\"verdict\":\"failed\",\"parts\":[";
    const char* flows[] = {"rulex", "packaging", "simulation"};
    const char* verdicts[] = {"passed", "passed with warnings", "failed", "unknown"};
    for (int i = 0; i < kPageParts; ++i) {
      for (int f = 0; f < 3; ++f) {
        const int verdict = (i * 3 + f) % 31 == 0 ? 2 : (i + f) % 2;
        results << (i + f == 0 ? "" : ",") << "{\"flow\":\"" << flows[f] << "\",\"library\":\"lib"
                << i % 7 << "\",\"cell\":\"part" << i << "\",\"verdict\":\"" << verdicts[verdict]
                << "\",\"message\":\"m\",\"log\":\"\",\"counts\":{}";
        if (findings && verdict != 0) {
          results << ",\"finding_records\":[";
          for (int k = 0; k < 3; ++k) {
            results << (k ? "," : "") << "{\"rule\":\"rule_" << (i + k) % 40 << "\",\"severity\":\""
                    << (verdict == 2 ? "error" : "warning") << "\",\"part\":\"part" << i
                    << "\",\"object\":\"PIN" << k << "\",\"message\":\"part" << i << " pin PIN" << k
                    << " breaks rule_" << (i + k) % 40
                    << "\",\"file\":\"rx.msg\",\"line\":" << i + k + 1 << "}";
          }
          results << "]";
        }
        results << "}";
      }
    }
    results << "]}\n";
  }
  std::ofstream(folder / "waivers.txt")
      << "rule=rule_1* lib=* part=part*5 author=bench date=2026-01-01 reason=accepted\n";
  RunQuietly({kKestra, "report", "merge", (folder / "results.json").string(), "-waivers",
              (folder / "waivers.txt").string(), "-html", (folder / "page.html").string()});
  std::ofstream(folder / "empty.html") << "<!DOCTYPE html><html><body></body></html>\n";
  {
    // The page with a last script that forces layout and leaves the time since navigation.
    std::ifstream in(folder / "page.html");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    text.replace(text.rfind("</body>"), 7,
                 "<script>document.body.offsetHeight;document.body.setAttribute('data-ready',"
                 "performance.now())</script></body>");
    std::ofstream(folder / "probe.html") << text;
  }
  const std::string chromium = "chromium --headless --no-sandbox --disable-gpu --user-data-dir=" +
                               (folder / "profile").string() + " --dump-dom file://";
  // The page and the empty page loaded the same way, chromium started directly.
  auto load = [&folder](const char* page) {
    return RunQuietly({"chromium", "--headless", "--no-sandbox", "--disable-gpu",
                       "--user-data-dir=" + (folder / "profile").string(), "--dump-dom",
                       "file://" + (folder / page).string()});
  };
  double page = 0;
  double empty = 0;
  double ready = 0;
  for (auto _ : state) {
    empty += load("empty.html");
    const double run = load("page.html");
    state.SetIterationTime(run);
    page += run;
    ready += ReadyMilliseconds(chromium + (folder / "probe.html").string()) / 1000;
  }
  const double runs = static_cast<double>(state.iterations());
  state.counters["page_ready_seconds"] = ready / runs;
  state.counters["page_bytes"] = static_cast<double>(fs::file_size(folder / "page.html"));
  state.counters["page_load_seconds"] = (page - empty) / runs;
  fs::remove_all(folder);
}
BENCHMARK_CAPTURE(PageLoad, 10000_parts, 10000, false)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK_CAPTURE(PageLoad, 17000_parts_with_findings, 17000, true)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace

BENCHMARK_MAIN();

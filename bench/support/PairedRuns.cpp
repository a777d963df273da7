// paired_runs: times whole processes side by side, what a user of a command pays from its
// start to its exit. Command A and command B (the yardstick) run in turn, A B A B ..., each
// started directly (no shell), with standard input from /dev/null and its output thrown away;
// the ratio A/B is taken pair by pair and its median given, so that a drift of the machine's
// speed during the run does not move it. Wall time from just before the start to the reaping,
// processor time (user and system) and peak resident size as the system accounts them for
// the finished child. Processes that a command leaves behind (the watcher of kestra's tool runs
// ends just after it) are reaped here too (this program is their subreaper) and their processor
// time counted with the command's: the machine pays it, though nobody waits for it. Without
// --vs, command A alone (its times and peak memory).
//
//   paired_runs [-n PAIRS] [--warmup RUNS] [--json FILE] -- COMMAND A... [--vs COMMAND B...]
//
// Prints medians with the lowest and highest run, and writes the same as JSON to FILE.
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "BenchProcess.h"
#include "BenchTiming.h"

namespace {

struct Run {
  double wall = 0;
  double cpu = 0;
  double peakMiB = 0;
  int status = 0;
};

double Seconds(const timeval& time) {
  return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) * 1e-6;
}

Run RunOnce(const std::vector<std::string>& command) {
  Run run;
  rusage before{};
  getrusage(RUSAGE_CHILDREN, &before);
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = StartQuietly(command);
  int status = 0;
  rusage usage{};
  while (wait4(child, &status, 0, &usage) < 0) {
  }
  run.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  while (waitpid(-1, nullptr, 0) > 0 || errno == EINTR) {
  }
  rusage after{};
  getrusage(RUSAGE_CHILDREN, &after);
  run.cpu = Seconds(after.ru_utime) + Seconds(after.ru_stime) - Seconds(before.ru_utime) -
            Seconds(before.ru_stime);
  run.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0;
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  return run;
}

struct Spread {
  double median = 0;
  double low = 0;
  double high = 0;
};

Spread SpreadOf(const std::vector<double>& values) {
  return {Median(values), *std::min_element(values.begin(), values.end()),
          *std::max_element(values.begin(), values.end())};
}

std::string Line(const char* name, const Spread& spread, double scale, const char* unit) {
  char text[160];
  std::snprintf(text, sizeof text, "%-14s %10.3f %s  (%.3f to %.3f)", name, spread.median * scale,
                unit, spread.low * scale, spread.high * scale);
  return text;
}

std::string Json(const char* name, const Spread& spread) {
  char text[160];
  std::snprintf(text, sizeof text, "\"%s\": {\"median\": %.6g, \"low\": %.6g, \"high\": %.6g}",
                name, spread.median, spread.low, spread.high);
  return text;
}

int Usage() {
  std::fprintf(stderr,
               "usage: paired_runs [-n PAIRS] [--warmup RUNS] [--json FILE] -- COMMAND... "
               "[--vs COMMAND...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  int pairs = 15;
  int warmup = 2;
  std::string json;
  int i = 1;
  for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (i + 1 >= argc) return Usage();
    if (std::strcmp(argv[i], "-n") == 0)
      pairs = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--warmup") == 0)
      warmup = std::atoi(argv[++i]);
    else if (std::strcmp(argv[i], "--json") == 0)
      json = argv[++i];
    else
      return Usage();
  }
  std::vector<std::string> a;
  std::vector<std::string> b;
  bool inB = false;
  for (++i; i < argc; ++i) {
    if (std::strcmp(argv[i], "--vs") == 0)
      inB = true;
    else
      (inB ? b : a).push_back(argv[i]);
  }
  if (a.empty() || (inB && b.empty()) || pairs < 1) return Usage();

  for (int w = 0; w < warmup; ++w) {
    RunOnce(a);
    if (!b.empty()) RunOnce(b);
  }
  std::vector<Run> runsA;
  std::vector<Run> runsB;
  for (int p = 0; p < pairs; ++p) {
    runsA.push_back(RunOnce(a));
    if (!b.empty()) runsB.push_back(RunOnce(b));
  }

  auto field = [](const std::vector<Run>& runs, double Run::*member) {
    std::vector<double> values;
    for (const Run& run : runs) values.push_back(run.*member);
    return values;
  };
  std::vector<std::string> lines;
  std::vector<std::string> members;
  auto report = [&](const char* side, const std::vector<Run>& runs) {
    const Spread wall = SpreadOf(field(runs, &Run::wall));
    const Spread cpu = SpreadOf(field(runs, &Run::cpu));
    const Spread peak = SpreadOf(field(runs, &Run::peakMiB));
    int failed = 0;
    for (const Run& run : runs) failed += run.status != 0;
    lines.push_back(std::string(side) + " " + Line("wall", wall, 1e3, "ms"));
    lines.push_back(std::string(side) + " " + Line("cpu", cpu, 1e3, "ms"));
    lines.push_back(std::string(side) + " " + Line("peak", peak, 1, "MiB"));
    if (failed)
      lines.push_back(std::string(side) + " exit status not 0 in " + std::to_string(failed) +
                      " runs");
    members.push_back(std::string("\"") + side + "\": {" + Json("wall_s", wall) + ", " +
                      Json("cpu_s", cpu) + ", " + Json("peak_mib", peak) +
                      ", \"failed_runs\": " + std::to_string(failed) + "}");
  };
  report("A", runsA);
  if (!b.empty()) {
    report("B", runsB);
    std::vector<double> wallRatios;
    std::vector<double> cpuRatios;
    for (int p = 0; p < pairs; ++p) {
      wallRatios.push_back(runsA[p].wall / runsB[p].wall);
      cpuRatios.push_back(runsA[p].cpu / std::max(runsB[p].cpu, 1e-6));
    }
    const Spread wall = SpreadOf(wallRatios);
    const Spread cpu = SpreadOf(cpuRatios);
    lines.push_back("A/B " + Line("wall ratio", wall, 1, ""));
    lines.push_back("A/B " + Line("cpu ratio", cpu, 1, ""));
    members.push_back("\"ratio\": {" + Json("wall", wall) + ", " + Json("cpu", cpu) + "}");
  }
  for (const std::string& line : lines) std::printf("%s\n", line.c_str());
  if (!json.empty()) {
    std::ofstream out(json);
    out << "{\"pairs\": " << pairs << ", ";
    for (std::size_t m = 0; m < members.size(); ++m) out << (m ? ", " : "") << members[m];
    out << "}\n";
  }
  return 0;
}

#include "verify/all/VerifyAllVerb.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "base/OwnFolder.h"
#include "base/PrintableText.h"
#include "base/ReplaceFile.h"
#include "verify/FindingGate.h"
#include "verify/FlowWords.h"
#include "verify/OutputFile.h"
#include "verify/PathNames.h"
#include "verify/ResultOutput.h"
#include "verify/ScratchProject.h"
#include "verify/VerifyAllLock.h"
#include "verify/WaiverFile.h"
#include "verify/all/RunOutput.h"
#include "verify/all/cluster/ClusterRun.h"
#include "verify/all/cluster/CommandOutput.h"
#include "verify/all/cluster/SlurmJobs.h"
#include "verify/all/cluster/SlurmScript.h"
#include "verify/all/history/FindingChanges.h"
#include "verify/all/history/RunHistory.h"
#include "verify/all/history/RunLock.h"
#include "verify/all/jobs/ChunkRun.h"
#include "verify/all/jobs/JobCommands.h"
#include "verify/all/jobs/JobOutcome.h"
#include "verify/all/jobs/JobRunner.h"
#include "verify/all/jobs/JobWorker.h"
#include "verify/all/jobs/PlanManifest.h"
#include "verify/all/jobs/ResultFile.h"
#include "verify/all/jobs/WorkerPool.h"
#include "verify/all/page/PageFiles.h"

namespace fs = std::filesystem;

namespace {

constexpr int kUsageStatus = 2;
constexpr long kDefaultTimeLimit = 600;

constexpr const char* kUsage =
    "usage: kestra verify all -proj FILE [-lib LIB ...] [-ref] [-cell C ...]\n"
    "         [-flows rulex,packaging,...] [-j N] [-timeout SECONDS] [-template [LIB=]FILE.tpl]\n"
    "         [-models DIR] [-changed] [-html FILE] [-json] [-junit FILE]\n"
    "         [-plan FILE [-chunk N] [-plan-format lines|slurm]] [-process-per-job]\n"
    "         [-slurm [-plan FILE] [-chunk N] [-sbatch-args \"...\"] [-wait "
    "[-cancel-on-interrupt]]]\n"
    "  every flow that checks parts, on every part of the libraries (or the -cell parts);\n"
    "  without -lib every library of the project's qvd.lib; -ref: the reference libraries\n"
    "  (refqvd.lib) instead, by the flows that take -ref (the others: not run)\n"
    "  each part and flow a `kestra verify FLOW` job in a scratch copy of the project, run by\n"
    "  long-lived kestra workers (-process-per-job: one kestra process per job instead)\n"
    "  -j N: N jobs at once (default 1); -timeout: a job's time limit (default 600 s)\n"
    "  -template FILE: the part template of the template check; -template LIB=FILE: the\n"
    "  template for the parts of LIB (repeatable); -models: the simulation models\n"
    "  -changed: re-check only parts whose files or inputs changed since their last verdict\n"
    "  -html FILE: the report page, its logs in the folder FILE's name + _logs beside it\n"
    "  -plan FILE: write the jobs as a job list (one shell line each) instead of running them\n"
    "  -chunk N (with -plan or -slurm): one line per N parts, their jobs run one after another\n"
    "  in one kestra (kestra verify all -jobs CHUNK [-timeout SECONDS])\n"
    "  -plan-format slurm: FILE is a Slurm array script instead, one array task per line\n"
    "  -slurm: write that script and submit it with sbatch, with a merge job after it that\n"
    "  writes the page (-html, default FILE.d/report.html); -wait: wait for the merge job and\n"
    "  end as a local run would; -cancel-on-interrupt: Ctrl-C while waiting cancels the jobs\n"
    "%s"
    "exit status: the worst verdict (0 passed, 3 passed with warnings, 1 failed, 2 status\n"
    "unknown or nothing checked); a flow that does not apply to a part is not run and does\n"
    "not count\n";

constexpr std::string_view kAllValued[] = {
    "-proj",   "-lib",  "-cell",  "-flows", "-j",           "-timeout",     "-template",
    "-models", "-html", "-junit", "-plan",  "-plan-format", "-sbatch-args", "-chunk"};

struct AllArguments {
  VerifyAllRequest request;
  std::size_t parallel = 1;
  long timeLimit = kDefaultTimeLimit;
  bool changed = false;
  bool json = false;
  bool processPerJob = false;
  std::string junit;
  std::string html;
  std::string plan;
  bool slurmFormat = false;  // -plan-format slurm, or -slurm
  bool slurm = false;
  std::string sbatchArgs;
  bool wait = false;
  bool cancelOnInterrupt = false;
  std::size_t chunk = 0;    // parts per line of the job list; 0: one job per line
  FindingOptions findings;  // -waivers, -fail-on, -min-severity; the waivers once loaded
};

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> names;
  std::stringstream in(text);
  for (std::string name; std::getline(in, name, ',');) {
    if (!name.empty()) names.push_back(name);
  }
  return names;
}

// -plan-format, -slurm and the options that only go with -slurm.
bool ParseClusterArguments(const FlowWords& parsed, AllArguments& args, std::string& error) {
  const std::string format = parsed.Value("-plan-format");
  if (!format.empty() && format != "lines" && format != "slurm") {
    error = "-plan-format is lines or slurm, not \"" + format + "\"";
    return false;
  }
  if (!format.empty() && args.plan.empty()) {
    error = "-plan-format goes with -plan FILE";
    return false;
  }
  args.slurm = parsed.Has("-slurm");
  args.slurmFormat = args.slurm || format == "slurm";
  args.sbatchArgs = parsed.Value("-sbatch-args");
  args.wait = parsed.Has("-wait");
  args.cancelOnInterrupt = parsed.Has("-cancel-on-interrupt");
  if (!args.slurm && (args.wait || args.cancelOnInterrupt || parsed.Has("-sbatch-args"))) {
    error = "-wait, -cancel-on-interrupt and -sbatch-args go with -slurm";
    return false;
  }
  if (args.cancelOnInterrupt && !args.wait) {
    error = "-cancel-on-interrupt goes with -wait";
    return false;
  }
  if (args.slurm && format == "lines") {
    error = "-slurm writes a Slurm script: leave out -plan-format lines";
    return false;
  }
  if (args.slurmFormat && (args.changed || !args.junit.empty())) {
    error = "a Slurm script runs on the cluster: leave out -changed and -junit";
    return false;
  }
  if (args.json && args.slurm && !args.wait) {
    error = "-json gives the results of a run: with -slurm it needs -wait";
    return false;
  }
  return true;
}

std::optional<AllArguments> ParseAllArguments(const std::vector<std::string>& words,
                                              std::string& error) {
  AllArguments args;
  std::vector<std::string> rest = words;
  if (!TakeFindingOptions(rest, kAllValued, args.findings, error)) return std::nullopt;
  const auto parsed = FlowWords::Parse(
      rest,
      {"-changed", "-json", "-slurm", "-wait", "-cancel-on-interrupt", "-process-per-job", "-ref"},
      kAllValued, {"-proj"}, error);
  if (!parsed) return std::nullopt;
  args.request.project = AbsolutePath(parsed->Value("-proj"));
  args.request.libraries = parsed->Values("-lib");
  args.request.cells = parsed->Values("-cell");
  for (const std::string& flows : parsed->Values("-flows")) {
    for (std::string& flow : SplitCommas(flows)) args.request.flows.push_back(std::move(flow));
  }
  // -template FILE for every library, -template LIB=FILE for one: a passives library is
  // not checked against the template of logic parts.
  for (const std::string& given : parsed->Values("-template")) {
    const std::size_t equals = given.find('=');
    const std::string library = equals == std::string::npos ? "" : given.substr(0, equals);
    if (!library.empty() && library.find('/') == std::string::npos &&
        !std::filesystem::exists(given)) {
      args.request.libraryTemplates[library] = AbsolutePath(given.substr(equals + 1));
    } else {
      args.request.templateFile = AbsolutePath(given);
    }
  }
  args.request.modelsDirectory = AbsolutePath(parsed->Value("-models"));
  if (parsed->Has("-j")) {
    const auto n = ParseWholeNumber("-j", parsed->Value("-j"), 1, 64, "jobs", error);
    if (!n) return std::nullopt;
    args.parallel = static_cast<std::size_t>(*n);
  }
  if (parsed->Has("-timeout")) {
    const auto n =
        ParseWholeNumber("-timeout", parsed->Value("-timeout"), 1, 86400, "seconds", error);
    if (!n) return std::nullopt;
    args.timeLimit = *n;
  }
  args.changed = parsed->Has("-changed");
  args.json = parsed->Has("-json");
  args.processPerJob = parsed->Has("-process-per-job");
  args.request.reference = parsed->Has("-ref");
  args.junit = parsed->Value("-junit");
  args.html = parsed->Value("-html");
  args.plan = parsed->Value("-plan");
  if (!ParseClusterArguments(*parsed, args, error)) return std::nullopt;
  if (parsed->Has("-chunk")) {
    const auto n = ParseWholeNumber("-chunk", parsed->Value("-chunk"), 1, 1000000, "parts", error);
    if (!n) return std::nullopt;
    if (args.plan.empty() && !args.slurm) {
      error = "-chunk groups the lines of a job list: give -plan FILE or -slurm";
      return std::nullopt;
    }
    args.chunk = static_cast<std::size_t>(*n);
  }
  // A Slurm script's merge job writes the page: -html names it.
  if (!args.plan.empty() && !args.slurmFormat &&
      (args.changed || !args.html.empty() || !args.junit.empty())) {
    error = "-plan writes a job list only: leave out -changed, -html and -junit";
    return std::nullopt;
  }
  return args;
}

// Where a run keeps its history, logs and scratch copies: <temp folder>/verify-all.
struct RunFolders {
  std::string root;
  std::string history() const { return root + "/history.json"; }
  std::string lock;  // VerifyAllLockFile
  std::string logs() const { return root + "/logs"; }
  std::string jobs() const { return root + "/jobs"; }
};

// Why a cluster run may not write into folder (FILE.d): results of an earlier run that a
// cluster may still be writing are never removed, and #SBATCH lines cannot carry every path.
std::string ClusterFolderProblem(const std::string& folder) {
  if (const std::string problem = SbatchPathProblem(folder); !problem.empty()) return problem;
  std::error_code code;
  const fs::path results = fs::path(folder) / "results";
  if (fs::is_directory(results, code) && !fs::is_empty(results, code))
    return "the results folder " + results.string() +
           " holds the results of an earlier run (which may still run on the cluster): remove "
           "it, or give another -plan file";
  return "";
}

std::string Name(const VerifyResult& result) {
  return PrintableText(result.library + "/" + result.cell + " " + result.flow);
}

// The files the findings name, once the job's folder (reused, then removed) is gone: the
// job's log its kept copy keptLog, any other report in that folder a copy beside it
// ("<key>.<flow>.<n>.<file name>" in the run's logs), anything else as it is.
void KeepFindingFiles(VerifyResult& result, const std::string& keptLog,
                      const std::string& jobFolder) {
  std::map<std::string, std::string> kept = {{result.log, keptLog}};
  const std::string stem = keptLog.substr(0, keptLog.rfind('.'));
  const std::string inJob = jobFolder + "/";
  int copies = 0;
  for (Finding& finding : result.findings) {
    if (finding.file.empty()) continue;
    const auto [entry, added] = kept.try_emplace(finding.file, finding.file);
    if (added && finding.file.starts_with(inJob)) {
      const std::string copy =
          stem + "." + std::to_string(++copies) + "." + fs::path(finding.file).filename().string();
      if (std::string ignored; CopyRegularFile(finding.file, copy, &ignored)) entry->second = copy;
    }
    finding.file = entry->second;
  }
}

// Keeps the job's log (or, when it named none it could give, what it said on standard error)
// in the run's logs, and the reports its findings name; a log that cannot be kept leaves the
// result without one and says why.
void CopyLog(VerifyResult& result, const std::string& jobFolder, const std::string& target,
             std::ostream& err) {
  std::string error;
  const bool logKept = !result.log.empty() && CopyRegularFile(result.log, target, &error);
  if (!logKept && !CopyRegularFile(jobFolder + ".err", target, &error)) {
    err << "kestra verify all: warning: the log of " << Name(result)
        << " is not kept: " << PrintableText(error) << "\n";
    result.log.clear();
    return;
  }
  if (logKept) KeepFindingFiles(result, target, jobFolder);
  result.log = target;
}

void WriteText(const std::vector<VerifyResult>& results, const std::vector<bool>& reused,
               std::ostream& out) {
  for (std::size_t i = 0; i < results.size(); ++i) {
    const VerifyResult& result = results[i];
    out << Name(result) << ": ";
    if (result.notRun) {
      out << PrintableText(result.cause);
    } else {
      // A waived result's message begins with its verdict word already.
      if (!result.waived) out << VerdictName(result.verdict) << ": ";
      out << PrintableText(result.message.empty() ? result.cause : result.message);
    }
    out << (reused[i] ? " (unchanged: earlier verdict)" : "") << "\n";
  }
}

bool InScope(const VerifyResult& result, const VerifyAllRequest& request,
             const std::vector<std::string>& flows) {
  auto has = [](const std::vector<std::string>& list, const std::string& name) {
    return std::find(list.begin(), list.end(), name) != list.end();
  };
  return has(request.libraries, result.library) &&
         (request.cells.empty() || has(request.cells, result.cell)) && has(flows, result.flow);
}

int WriteSlurmScript(const AllArguments& args, const JobPlan& plan, const PlanManifest& manifest,
                     const std::string& listFile, std::ostream& out, std::ostream& err);

int WritePlan(const AllArguments& args, const JobPlan& plan, std::ostream& out, std::ostream& err) {
  const std::string planFile = AbsolutePath(args.plan);
  const std::string folder = planFile + ".d";
  // A Slurm plan is the script; its lines go beside the results.
  const std::string listFile = args.slurmFormat ? folder + "/jobs.txt" : planFile;
  std::string error;
  if (args.slurmFormat) {
    if (const std::string problem = ClusterFolderProblem(folder); !problem.empty()) {
      err << "kestra verify all: " << PrintableText(problem) << "\n";
      return kUsageStatus;
    }
  }
  PlanManifest manifest{NewPlanId(), args.request.project, planFile, {}};
  if (!MakeOwnFolder(folder, &error) || !RemakeOwnFolder(folder + "/results", {}, &error) ||
      !MakeOwnFolder(folder + "/scratch", &error) ||
      (args.chunk > 0 && !RemakeOwnFolder(folder + "/chunks", {}, &error))) {
    err << "kestra verify all: the job list is not written: " << PrintableText(error) << "\n";
    return kUsageStatus;
  }
  const std::string program = RunningProgram();
  std::string list;
  std::size_t lines = 0;
  std::size_t runnable = 0;
  // With -chunk: the jobs of the chunk being filled, and its parts so far.
  std::string chunk;
  std::size_t chunkParts = 0;
  std::vector<PlannedResult> chunkResults;
  const PartJob* lastPart = nullptr;
  const auto endChunk = [&]() {
    if (chunk.empty()) return true;
    const std::string file = folder + "/chunks/" + std::to_string(lines + 1);
    if (!ReplaceFileContent(file + ".jobs", chunk, &error)) return false;
    list += JobShellLine({program, "verify", "all", "-jobs", file + ".jobs", "-timeout",
                          std::to_string(args.timeLimit)},
                         file + ".out", file + ".log") +
            "\n";
    ++lines;
    manifest.lines.push_back(std::move(chunkResults));
    chunkResults.clear();
    chunk.clear();
    chunkParts = 0;
    return true;
  };
  for (std::size_t i = 0; i < plan.jobs.size(); ++i) {
    const PartJob& job = plan.jobs[i];
    const std::string stem = folder + "/results/" + std::to_string(i + 1) + "." + job.flow;
    if (!job.notRun.empty()) {
      // Nothing to run: its result is known now.
      VerifyResult result =
          NotRunResult(FlowResult(job.flow, job.library, job.cell), "not run: " + job.notRun);
      result.notRun = true;
      if (!ReplaceFileContent(stem + ".json", ResultRecordJson(result), &error)) {
        err << "kestra verify all: the job list is not written: " << PrintableText(error) << "\n";
        return kUsageStatus;
      }
      continue;
    }
    const JobCommand command{
        JobArguments(program, job, folder + "/scratch/" + std::to_string(i + 1) + "." + job.flow),
        stem + ".json", stem + ".err"};
    const std::string line = JobShellLine(command.argv, command.output, command.errors);
    if (line.find('\n') != std::string::npos) {
      err << "kestra verify all: the job of " << PrintableText(job.library + "/" + job.cell)
          << " holds a line break (in a name or a path) and cannot go in a job list\n";
      return kUsageStatus;
    }
    ++runnable;
    if (args.chunk == 0) {
      list += line + "\n";
      manifest.lines.push_back({{command.output, job.library, job.cell, job.flow}});
      ++lines;
      continue;
    }
    const bool newPart =
        lastPart == nullptr || lastPart->library != job.library || lastPart->cell != job.cell;
    if (newPart && chunkParts == args.chunk && !endChunk()) break;
    if (newPart) ++chunkParts;
    lastPart = &job;
    chunk += ChunkJobLine(job, command) + "\n";
    chunkResults.push_back({command.output, job.library, job.cell, job.flow});
  }
  std::error_code ignored;
  fs::remove(folder + "/merged.json", ignored);
  if (!error.empty() || !endChunk() || !ReplaceFileContent(listFile, list, &error) ||
      !ReplaceFileContent(folder + "/plan.json", PlanManifestJson(manifest), &error)) {
    err << "kestra verify all: the job list is not written: " << PrintableText(error) << "\n";
    return kUsageStatus;
  }
  if (args.slurmFormat) return WriteSlurmScript(args, plan, manifest, listFile, out, err);
  out << "job list: " << PrintableText(listFile) << " (" << runnable << " jobs, "
      << plan.jobs.size() - runnable << " not run";
  if (args.chunk > 0) out << "; " << lines << " lines of up to " << args.chunk << " parts";
  out << ")\n"
      << "results: " << PrintableText(folder) << "/results/\n"
      << "run it:   parallel -j 2 < " << ShellWord(listFile) << "\n"
      << "merge:    " << ShellWord(program) << " report merge " << ShellWord(folder)
      << "/results/*.json -html report.html\n";
  return 0;
}

// The Slurm array script over the job list; its lines were written as listFile.
int WriteSlurmScript(const AllArguments& args, const JobPlan& plan, const PlanManifest& manifest,
                     const std::string& listFile, std::ostream& out, std::ostream& err) {
  const std::string folder = manifest.plan + ".d";
  SlurmScriptRequest script;
  script.script = manifest.plan;
  script.lines = listFile;
  script.lineCount = manifest.lines.size();
  for (const auto& line : manifest.lines)
    script.jobsPerLine = std::max(script.jobsPerLine, line.size());
  script.jobTimeLimit = args.timeLimit;
  script.program = RunningProgram();
  script.project = args.request.project;
  script.results = folder + "/results";
  script.page = args.html.empty() ? folder + "/report.html" : AbsolutePath(args.html);
  script.merged = folder + "/merged.json";
  // The merge job's page carries the waivers and the severity floor a local run's page would.
  if (const std::string waivers = WaiverFileOf(args.findings.waiverFile, args.request.project);
      !waivers.empty())
    script.mergeOptions += " -waivers " + ShellWord(AbsolutePath(waivers));
  if (args.findings.minSeverity)
    script.mergeOptions +=
        std::string(" -min-severity ") + SeverityName(*args.findings.minSeverity);
  std::string error;
  if (script.lineCount == 0) {
    err << "kestra verify all: no check applies to these parts (every one is not run): there is "
           "nothing for the cluster to do\n";
    return kUsageStatus;
  }
  if (!ReplaceFileContent(manifest.plan, SlurmArrayScript(script), &error)) {
    err << "kestra verify all: the Slurm script is not written: " << PrintableText(error) << "\n";
    return kUsageStatus;
  }
  out << "slurm script: " << PrintableText(manifest.plan) << " (" << script.lineCount
      << " array tasks, each at most "
      << SlurmTimeLimit(ArrayTaskSeconds(script.jobTimeLimit, script.jobsPerLine)) << ")\n"
      << "results: " << PrintableText(script.results) << "/\n";
  if (!args.slurm) {
    out << "submit:   sh " << ShellWord(manifest.plan) << " submit [sbatch options]\n";
    return 0;
  }
  const auto sbatchArgs = SplitSbatchArguments(args.sbatchArgs, error);
  if (!sbatchArgs) {
    err << "kestra verify all: " << PrintableText(error) << "\n";
    return kUsageStatus;
  }
  ClusterRunRequest run{manifest.plan, *sbatchArgs, args.wait,      args.cancelOnInterrupt,
                        script.merged, script.page, script.results, plan.jobs.size()};
  ClusterRunOutcome outcome = RunOnCluster(run, out, err);
  if (outcome.stopSignal != 0) {
    std::signal(outcome.stopSignal, SIG_DFL);
    std::raise(outcome.stopSignal);
    return 128 + outcome.stopSignal;
  }
  if (!outcome.results) return outcome.status;
  std::vector<VerifyResult>& results = *outcome.results;
  const int judged = JudgeFindings(results, args.findings, true, "kestra verify all: ", err);
  const int status = results.empty() ? kUsageStatus : judged;
  std::vector<std::string> flows;
  for (const VerifyResult& result : *outcome.results) {
    if (std::find(flows.begin(), flows.end(), result.flow) == flows.end())
      flows.push_back(result.flow);
  }
  if (args.json) {
    WriteResultsJson(*outcome.results, out);
  } else {
    WriteText(*outcome.results, std::vector<bool>(outcome.results->size(), false), out);
  }
  WriteSummary(flows, *outcome.results, err);
  err << "report page: " << PrintableText(script.page) << "\n";
  return status;
}

// `kestra verify all -worker`: job lines on standard input, "done" replies on standard output;
// the tools and flows get /dev/null as input and the job's errors file as output, never the
// channels of the protocol.
int RunWorker(std::span<const VerifyFlow> flows) {
  const int input = ::fcntl(0, F_DUPFD_CLOEXEC, 3);
  const int replies = ::fcntl(1, F_DUPFD_CLOEXEC, 3);
  const int null = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  if (input < 0 || replies < 0 || null < 0) return kUsageStatus;
  ::dup2(null, 0);
  ::close(null);
  ::dup2(2, 1);
  return RunJobWorker(input, replies, flows);
}

// `kestra verify all -jobs CHUNK [-timeout SECONDS]`: one line of a chunked job list.
int RunChunkWords(const std::vector<std::string>& words, std::ostream& err) {
  std::string error;
  long timeLimit = kDefaultTimeLimit;
  const bool timed = words.size() == 4 && words[2] == "-timeout";
  if (timed) {
    const auto n = ParseWholeNumber("-timeout", words[3], 1, 86400, "seconds", error);
    if (!n) {
      err << "kestra verify all: " << PrintableText(error) << "\n";
      return kUsageStatus;
    }
    timeLimit = *n;
  }
  if (words.size() != 2 && !timed) {
    err << "usage: kestra verify all -jobs CHUNK [-timeout SECONDS]\n";
    return kUsageStatus;
  }
  return RunChunk(words[1], timeLimit, err);
}

}  // namespace

int RunVerifyAll(const std::vector<std::string>& words, std::span<const VerifyFlow> flows,
                 std::ostream& out, std::ostream& err) {
  if (FlowWords::HelpAsked(words, kAllValued)) {
    out << UsageWithFindingOptions(kUsage);
    return 0;
  }
  if (words.size() == 1 && words.front() == "-worker") return RunWorker(flows);
  if (!words.empty() && words.front() == "-jobs") return RunChunkWords(words, err);
  std::string error;
  auto args = ParseAllArguments(words, error);
  if (!args) {
    err << "kestra verify all: " << PrintableText(error) << "\n" << UsageWithFindingOptions(kUsage);
    return kUsageStatus;
  }
  if (ExistingProjectFile(args->request.project, error).empty()) {
    err << "kestra verify all: " << PrintableText(error) << "\n";
    return kUsageStatus;
  }
  if (args->slurm && !ProgramOnPath("sbatch")) {
    err << "kestra verify all: -slurm needs Slurm's sbatch, which is not on PATH; nothing is "
           "written\n";
    return kUsageStatus;
  }
  if (args->slurm && args->plan.empty()) {
    // The project's temp folder, which the nodes then must share as well.
    const std::string folder = VerifyAllFolder(args->request.project) + "/cluster";
    if (!MakeOwnFolder(VerifyAllFolder(args->request.project), &error) ||
        !MakeOwnFolder(folder, &error)) {
      err << "kestra verify all: " << PrintableText(error) << "\n";
      return kUsageStatus;
    }
    args->plan = folder + "/verify.sbatch";
  }
  // A waiver file that cannot be read stops the run before any job: never ignored silently.
  if (!LoadWaivers(args->findings, args->request.project, error)) {
    err << "kestra verify all: " << PrintableText(error) << "\n";
    return kUsageStatus;
  }
  // Every file the run is to write can be written, before any job runs.
  for (const std::string* file : {&args->html, &args->junit, &args->plan}) {
    if (file->empty()) continue;
    if (std::string problem = PrepareOutputFile(*file); !problem.empty()) {
      err << "kestra verify all: " << PrintableText(problem) << "\n";
      return kUsageStatus;
    }
  }
  const JobPlan plan = PlanPartJobs(args->request, flows);
  if (!plan.error.empty()) {
    err << "kestra verify all: " << PrintableText(plan.error) << "\n";
    return kUsageStatus;
  }
  if (!args->plan.empty()) return WritePlan(*args, plan, out, err);
  // The history this run answers for: the libraries the plan checks (every one without -lib).
  VerifyAllRequest scope = args->request;
  scope.libraries = plan.libraries;

  RunFolders folders{VerifyAllFolder(args->request.project),
                     VerifyAllLockFile(args->request.project)};
  // The run's own folders: a link planted in their place is replaced, never followed.
  if (!MakeOwnFolder(folders.root, &error) || !MakeOwnFolder(folders.logs(), &error) ||
      !MakeOwnFolder(folders.jobs(), &error)) {
    err << "kestra verify all: " << PrintableText(error) << "\n";
    return kUsageStatus;
  }
  const auto lock = RunLock::Take(folders.lock, error);
  if (!lock) {
    err << "kestra verify all: " << PrintableText(error) << "\n";
    return kUsageStatus;
  }
  std::string warning;
  RunHistory history =
      RunHistory::Load(folders.history(), warning, RunHistory::ReadLimit(plan.jobs.size()));
  if (!warning.empty()) err << "kestra verify all: warning: " << PrintableText(warning) << "\n";
  std::vector<VerifyResult> previous;
  history.ForEach([&](const VerifyResult& result) {
    if (InScope(result, scope, plan.flows)) previous.push_back(result);
  });

  // What each job gives: known now (not run, or unchanged with -changed), or to be run.
  std::vector<VerifyResult> results(plan.jobs.size());
  std::vector<bool> reused(plan.jobs.size(), false);
  std::vector<std::size_t> toRun;
  for (std::size_t i = 0; i < plan.jobs.size(); ++i) {
    const PartJob& job = plan.jobs[i];
    if (!job.notRun.empty()) {
      results[i] =
          NotRunResult(FlowResult(job.flow, job.library, job.cell), "not run: " + job.notRun);
      results[i].notRun = true;
      continue;
    }
    const HistoryEntry* entry = history.Find(job.library, job.cell, job.flow);
    // An unknown verdict (a time limit, a crash) says nothing about the part: check it again.
    if (args->changed && entry != nullptr && entry->hash == job.hash && !entry->result.notRun &&
        entry->result.verdict != Verdict::Unknown) {
      results[i] = entry->result;
      reused[i] = true;
      history.Refer(job.hash, results[i]);  // the history's own copy is not needed any more
      continue;
    }
    toRun.push_back(i);
  }
  const std::size_t reusedCount =
      static_cast<std::size_t>(std::count(reused.begin(), reused.end(), true));
  if (args->changed) {
    err << "kestra verify all: " << toRun.size() << " checks of changed parts to run, "
        << reusedCount << " verdicts of unchanged parts reused\n";
  }

  const std::string program = RunningProgram();
  auto scratch = [&](std::size_t n) { return folders.jobs() + "/" + std::to_string(n); };
  std::size_t finished = 0;
  const auto commandOf = [&](std::size_t n) {
    const PartJob& job = plan.jobs[toRun[n]];
    return JobCommand{JobArguments(program, job, scratch(n)), scratch(n) + ".json",
                      scratch(n) + ".err"};
  };
  // A worker's jobs take turns in the scratch folders of its two places: the folder of the
  // job before last (ended, its log kept) is renamed for the next one, so that making the
  // scratch copy there touches only what that job changed instead of making every file anew.
  std::map<std::size_t, std::string> placeFolders;  // place -> the folder of its last job
  std::vector<bool> inPlace(toRun.size(), false);
  const auto commandIn = [&](std::size_t n, std::size_t place) {
    const auto [folder, added] = placeFolders.try_emplace(place, scratch(n));
    if (!added) {
      std::error_code code;
      fs::rename(folder->second, scratch(n), code);
      if (code) fs::remove_all(folder->second, code);
      folder->second = scratch(n);
    }
    inPlace[n] = true;
    return commandOf(n);
  };
  const auto ended = [&](std::size_t n, const JobEnd& end) {
    const std::size_t i = toRun[n];
    const PartJob& job = plan.jobs[i];
    results[i] = JobResult(job, end, scratch(n) + ".json", scratch(n) + ".err", args->timeLimit);
    if (end.how != JobEnd::How::NotStarted)
      CopyLog(results[i], scratch(n), folders.logs() + "/" + job.key + "." + job.flow + ".log",
              err);
    if (end.how != JobEnd::How::Stopped) history.Refer(job.hash, results[i]);
    std::error_code ignored;
    if (!inPlace[n]) fs::remove_all(scratch(n), ignored);
    fs::remove(scratch(n) + ".json", ignored);
    fs::remove(scratch(n) + ".err", ignored);
    err << "[" << ++finished << "/" << toRun.size() << "] " << Name(results[i]) << ": "
        << VerdictWord(results[i]) << "\n";
  };
  int stopSignal = 0;
  if (args->processPerJob) {
    JobRunner runner(args->parallel, std::chrono::seconds(args->timeLimit));
    runner.Run(toRun.size(), commandOf, ended);
    stopSignal = runner.StopSignal();
  } else {
    WorkerPool pool({program, "verify", "all", "-worker"}, folders.jobs() + "/", args->parallel,
                    std::chrono::seconds(args->timeLimit));
    pool.Run(toRun.size(), WorkerPool::CommandAt(commandIn), ended);
    stopSignal = pool.StopSignal();
  }
  for (const auto& [place, folder] : placeFolders) {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  if (int signal = stopSignal; signal != 0) {
    // Keep what was checked before the stop, then end the way the signal ends a program.
    history.Save(folders.history(), error);
    err << "kestra verify all: stopped by signal " << signal << "\n";
    std::signal(signal, SIG_DFL);
    std::raise(signal);
    return 128 + signal;
  }

  // The history: this run's verdicts; parts of the checked libraries that are gone, gone.
  for (std::size_t i = 0; i < plan.jobs.size(); ++i) {
    if (results[i].notRun) history.Refer(plan.jobs[i].hash, results[i]);
  }
  std::set<std::tuple<std::string, std::string, std::string>> current;
  for (const VerifyResult& result : results)
    current.insert({result.library, result.cell, result.flow});
  history.RemoveIf([&](const VerifyResult& result) {
    return InScope(result, scope, plan.flows) &&
           current.count({result.library, result.cell, result.flow}) == 0;
  });
  if (!history.Save(folders.history(), error))
    err << "kestra verify all: warning: the history is not kept: " << PrintableText(error) << "\n";
  // Saved: the history refers to the results, which the outputs now judge and move.
  history = RunHistory();

  // The history keeps what the tools said; waivers apply to this run and the previous alike,
  // so that changing the waiver file takes effect on reused verdicts too.
  int status = JudgeFindings(results, args->findings, true, "kestra verify all: ", err);
  JudgeEarlierFindings(previous, args->findings);
  const auto findingChanges = args->json || args->changed ? FindingChangesSince(previous, results)
                                                          : std::vector<FindingChange>();
  if (args->json) {
    WriteRunJson(results, findingChanges, out);
  } else {
    WriteText(results, reused, out);
    if (args->changed) {
      for (const FindingChange& change : findingChanges)
        out << PrintableText(FindingChangeText(change)) << "\n";
    }
  }
  WriteSummary(plan.flows, results, err);
  if (!args->junit.empty() && !WriteResultsJUnit(results, args->junit, &error)) {
    err << "kestra verify all: the JUnit file is not written: " << PrintableText(error) << "\n";
    status = kUsageStatus;
  }
  if (!args->html.empty()) {
    // The page is the last output: the results move into it rather than being copied.
    const bool hasPrevious = !previous.empty();
    PageRequest page{args->html,        args->request.project, plan.flows, std::move(results),
                     std::move(reused), std::move(previous),   hasPrevious};
    std::vector<std::string> warnings;
    if (!WritePageWithLogs(std::move(page), warnings, error)) {
      err << "kestra verify all: " << PrintableText(error) << "\n";
      status = kUsageStatus;
    } else {
      for (const std::string& text : warnings)
        err << "kestra verify all: warning: " << PrintableText(text) << "\n";
      err << "report page: " << PrintableText(AbsolutePath(args->html)) << "\n";
    }
  }
  return status;
}

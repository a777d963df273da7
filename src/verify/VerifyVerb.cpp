#include "verify/VerifyVerb.h"

#include <algorithm>
#include <chrono>

#include "base/HelpWord.h"
#include "verify/FindingGate.h"
#include "verify/OutputFile.h"
#include "verify/ResultOutput.h"
#include "verify/ScratchProject.h"

namespace {

constexpr int kUsageStatus = 2;

constexpr const char* kSharedOptions =
    "options of every flow: -json (results as JSON on standard output), -junit FILE (results\n"
    "as a JUnit file), -scratch DIR (run in a scratch copy of the project made in DIR), -help,\n"
    "-waivers FILE (accepted findings; else the project's verify_waivers), -no-waivers,\n"
    "-fail-on error|warning|fatal, -min-severity info|warning|error|fatal\n"
    "exit status: 0 passed, 3 passed with warnings, 1 failed, 2 status unknown or not run\n"
    "(with -fail-on: 1 for a finding that bad, else 0; 2 stays 2)\n";

std::string FlowUsage(const VerifyFlow& flow) {
  return std::string("usage: kestra verify ") + flow.name + " " + flow.usage + "\n" +
         kSharedOptions;
}

struct SharedOptions {
  bool json = false;
  bool help = false;
  bool noWaivers = false;
  std::string junit;
  std::string scratch;
  std::vector<std::string> rest;  // the flow's own words
  std::string error;
};

SharedOptions TakeSharedOptions(const std::vector<std::string>& words,
                                std::span<const std::string_view> valued) {
  SharedOptions options;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (std::find(valued.begin(), valued.end(), words[i]) != valued.end()) {
      // The flow's own option and its value, whatever the value reads.
      options.rest.push_back(words[i]);
      if (i + 1 < words.size()) options.rest.push_back(words[++i]);
    } else if (words[i] == "-json") {
      options.json = true;
    } else if (words[i] == "-no-waivers") {
      options.noWaivers = true;
    } else if (IsHelpWord(words[i])) {
      options.help = true;
    } else if (words[i] == "-junit") {
      if (i + 1 >= words.size()) {
        options.error = "-junit needs a file name";
        return options;
      }
      options.junit = words[++i];
    } else if (words[i] == "-scratch") {
      if (i + 1 >= words.size()) {
        options.error = "-scratch needs a folder";
        return options;
      }
      options.scratch = words[++i];
    } else {
      options.rest.push_back(words[i]);
    }
  }
  return options;
}

// The flow's -proj in an option's place, not a value that happens to read -proj; rest.end()
// when there is none or it has no value.
std::vector<std::string>::iterator ProjectOption(std::vector<std::string>& rest,
                                                 std::span<const std::string_view> valued) {
  auto proj = rest.begin();
  while (proj != rest.end() && *proj != "-proj") {
    const bool takesValue = std::find(valued.begin(), valued.end(), *proj) != valued.end();
    proj += takesValue && proj + 1 != rest.end() ? 2 : 1;
  }
  return proj != rest.end() && proj + 1 != rest.end() ? proj : rest.end();
}

// Points the flow's -proj at a scratch copy of the project in options.scratch; "" or the
// reason it cannot.
std::string UseScratchProject(SharedOptions& options, std::span<const std::string_view> valued) {
  const auto proj = ProjectOption(options.rest, valued);
  if (proj == options.rest.end()) return "-scratch needs -proj";
  std::string error;
  const auto copy = MakeScratchProject(*(proj + 1), options.scratch, error);
  if (!copy) return error;
  *(proj + 1) = *copy;
  return "";
}

// A flow that does not time its parts itself: the run's time shared evenly among the results
// that ran.
void TimeResults(std::vector<VerifyResult>& results, std::chrono::steady_clock::duration took) {
  std::size_t ran = 0;
  for (const VerifyResult& result : results) ran += !result.notRun && result.duration == 0;
  if (ran == 0) return;
  const double seconds = std::chrono::duration<double>(took).count() / static_cast<double>(ran);
  for (VerifyResult& result : results) {
    if (!result.notRun && result.duration == 0) result.duration = seconds;
  }
}

}  // namespace

std::string VerifyFlowList(std::span<const VerifyFlow> flows) {
  std::string text =
      "usage: kestra verify FLOW OPTIONS   (kestra verify FLOW -help for a flow)\nflows:\n";
  std::size_t width = 0;
  for (const VerifyFlow& flow : flows) width = std::max(width, std::string(flow.name).size());
  for (const VerifyFlow& flow : flows) {
    const std::string name = flow.name;
    text += "  " + name + std::string(width - name.size() + 2, ' ') + flow.summary + "\n";
  }
  text += "  all" + std::string(width > 3 ? width - 1 : 2, ' ') +
          "every flow on every part of libraries, a report page (kestra verify all -help)\n";
  return text + kSharedOptions;
}

int RunVerifyVerb(const std::vector<std::string>& words, std::span<const VerifyFlow> flows,
                  std::ostream& out, std::ostream& err) {
  if (words.empty() || IsHelpWord(words.front())) {
    out << VerifyFlowList(flows);
    return 0;
  }
  const auto flow = std::find_if(flows.begin(), flows.end(),
                                 [&](const VerifyFlow& f) { return words.front() == f.name; });
  if (flow == flows.end()) {
    err << "kestra verify: unknown flow " << PrintableText(words.front()) << "\n"
        << VerifyFlowList(flows);
    return kUsageStatus;
  }
  SharedOptions options = TakeSharedOptions({words.begin() + 1, words.end()}, flow->valued);
  const std::string prefix = std::string("kestra verify ") + flow->name + ": ";
  if (options.help) {
    out << FlowUsage(*flow);
    return 0;
  }
  FindingOptions findingOptions;
  if (options.error.empty())
    TakeFindingOptions(options.rest, flow->valued, findingOptions, options.error);
  if (!options.error.empty()) {
    err << prefix << options.error << "\n" << FlowUsage(*flow);
    return kUsageStatus;
  }
  if (!options.noWaivers) {
    // A waiver file that cannot be read stops the run before it starts: waivers are never
    // left out silently.
    const auto proj = ProjectOption(options.rest, flow->valued);
    std::string problem;
    if (!LoadWaivers(findingOptions, proj == options.rest.end() ? "" : *(proj + 1), problem)) {
      err << prefix << PrintableText(problem) << "\n";
      return kUsageStatus;
    }
  }
  if (!options.junit.empty()) {
    // Refused before the run, not after it: a long check must not end with nowhere to write.
    if (std::string problem = PrepareOutputFile(options.junit); !problem.empty()) {
      err << prefix << PrintableText(problem) << "\n";
      return kUsageStatus;
    }
  }
  if (!options.scratch.empty()) {
    if (std::string problem = UseScratchProject(options, flow->valued); !problem.empty()) {
      VerifyResult result = NotRunResult(FlowResult(flow->name, "", ""), problem);
      err << prefix << PrintableText(problem) << "\n";
      if (options.json) WriteResultsJson({result}, out);
      return ExitStatusOf(Verdict::Unknown);
    }
  }
  const auto start = std::chrono::steady_clock::now();
  FlowRun run = flow->run(options.rest);
  TimeResults(run.results, std::chrono::steady_clock::now() - start);
  if (!run.usageError.empty()) {
    err << prefix << PrintableText(run.usageError) << "\n" << FlowUsage(*flow);
    return kUsageStatus;
  }
  for (const VerifyResult& result : run.results) {
    if (!result.cause.empty()) err << prefix << PrintableText(result.cause) << "\n";
  }
  // One flow on some parts cannot tell a stale waiver from one of another flow or part.
  const int status = JudgeFindings(run.results, findingOptions, false, prefix, err);
  if (options.json) {
    WriteResultsJson(run.results, out);
  } else {
    WriteResultsText(run.results, out);
  }
  for (const VerifyResult& result : run.results) {
    if (!result.log.empty() && result.verdict != Verdict::Unknown)
      err << "log: " << PrintableText(result.log) << "\n";
  }
  std::string error;
  if (!options.junit.empty() && !WriteResultsJUnit(run.results, options.junit, &error)) {
    err << prefix << "the JUnit file is not written: " << PrintableText(error) << "\n";
    return kUsageStatus;
  }
  return status;
}

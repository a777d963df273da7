#include "verify/all/merge/ResultsMerge.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>
#include <memory>
#include <tuple>

#include "verify/all/cluster/SlurmJobs.h"
#include "verify/all/jobs/PlanManifest.h"
#include "verify/all/jobs/ResultFile.h"
#include "verify/all/page/PageFiles.h"

namespace fs = std::filesystem;

namespace {

using PartFlow = std::tuple<std::string, std::string, std::string>;

PartFlow KeyOf(const std::string& library, const std::string& cell, const std::string& flow) {
  return {library, cell, flow};
}

std::string NameOf(const PartFlow& key) {
  return std::get<0>(key) + "/" + std::get<1>(key) + " " + std::get<2>(key);
}

// "10.rulex.json" after "9.rulex.json": digits compare as numbers.
bool NaturalLess(const std::string& a, const std::string& b) {
  std::size_t i = 0;
  std::size_t j = 0;
  while (i < a.size() && j < b.size()) {
    if (std::isdigit(static_cast<unsigned char>(a[i])) &&
        std::isdigit(static_cast<unsigned char>(b[j]))) {
      std::size_t endA = i;
      std::size_t endB = j;
      while (endA < a.size() && std::isdigit(static_cast<unsigned char>(a[endA]))) ++endA;
      while (endB < b.size() && std::isdigit(static_cast<unsigned char>(b[endB]))) ++endB;
      const std::string numberA = a.substr(i, endA - i);
      const std::string numberB = b.substr(j, endB - j);
      if (numberA.size() != numberB.size()) return numberA.size() < numberB.size();
      if (numberA != numberB) return numberA < numberB;
      i = endA;
      j = endB;
      continue;
    }
    if (a[i] != b[j]) return a[i] < b[j];
    ++i;
    ++j;
  }
  return a.size() - i < b.size() - j;
}

// The job list a results file belongs to: the plan.json of its folder's FILE.d, read once;
// a damaged one is named in warnings and checks nothing.
class Manifests {
 public:
  explicit Manifests(std::vector<std::string>& warnings) : warnings_(warnings) {}

  const PlanManifest* Of(const std::string& file) {
    std::error_code code;
    const fs::path folder = fs::absolute(file, code).parent_path();
    if (folder.filename() != "results") return nullptr;
    const std::string path = ManifestFileOf(folder.string());
    auto found = read_.find(path);
    if (found == read_.end()) {
      std::string error;
      auto manifest = fs::exists(path, code) ? ReadPlanManifest(path, error) : std::nullopt;
      if (!error.empty())
        warnings_.push_back(error + ": the results beside it are merged unchecked");
      found = read_
                  .emplace(path, manifest ? std::make_unique<PlanManifest>(std::move(*manifest))
                                          : nullptr)
                  .first;
    }
    return found->second.get();
  }

 private:
  std::vector<std::string>& warnings_;
  std::map<std::string, std::unique_ptr<PlanManifest>> read_;
};

// Why two job lists' results do not go on one page; "" when they are one list's.
std::string MixProblem(const PlanManifest& first, const std::string& firstFile,
                       const PlanManifest& other, const std::string& otherFile) {
  if (first.id == other.id) return "";
  if (first.project != other.project)
    return firstFile + " and " + otherFile + " are results of different projects (" +
           first.project + " and " + other.project + "): merge one project's results at a time";
  return firstFile + " and " + otherFile + " are results of different job lists (" + first.plan +
         (first.plan == other.plan ? ", written again between them" : " and " + other.plan) +
         "): merge one job list's results at a time";
}

// Why a planned result is missing, for its unknown verdict.
std::string MissingCause(const PlannedResult& planned, std::size_t line,
                         const std::map<std::string, std::string>& unreadable,
                         const std::string& clusterJob,
                         const std::map<std::size_t, std::string>& taskStates) {
  const std::string task = clusterJob + "_" + std::to_string(line);
  if (!clusterJob.empty()) {
    const auto state = taskStates.find(line);
    if (state != taskStates.end() && state->second != "COMPLETED")
      return "the cluster job " + task + " ended with " + state->second;
  }
  const auto why = unreadable.find(planned.file);
  std::error_code code;
  std::string cause = "no result: " + planned.file + " is " +
                      (why != unreadable.end()           ? why->second
                       : !fs::exists(planned.file, code) ? "missing"
                                                         : "not among the merged files");
  if (!clusterJob.empty() && taskStates.count(line) == 0)
    cause += " (the state of the cluster job " + task + " is not known)";
  return cause;
}

}  // namespace

std::vector<std::string> ResultsFilesIn(const std::string& folder) {
  std::vector<std::string> names;
  std::error_code code;
  for (const auto& entry : fs::directory_iterator(folder, code)) {
    const std::string name = entry.path().filename().string();
    if (name.size() > 5 && name.ends_with(".json") && entry.is_regular_file(code))
      names.push_back(name);
  }
  std::sort(names.begin(), names.end(), NaturalLess);
  for (std::string& name : names) name = (fs::path(folder) / name).string();
  return names;
}

MergeOutcome MergeResults(const MergeRequest& request) {
  MergeOutcome outcome;
  std::vector<std::string> files;
  for (const std::string& given : request.files) {
    std::error_code code;
    if (fs::is_directory(given, code)) {
      for (std::string& file : ResultsFilesIn(given)) files.push_back(std::move(file));
    } else {
      files.push_back(given);
    }
  }
  Manifests manifests(outcome.warnings);
  const PlanManifest* plan = nullptr;
  std::string planFile;
  std::map<PartFlow, std::size_t> where;     // index in outcome.results
  std::map<PartFlow, std::string> fromFile;  // the file it came from
  std::map<std::string, std::string> unreadable;
  for (const std::string& file : files) {
    const PlanManifest* manifest = manifests.Of(file);
    if (manifest != nullptr && plan == nullptr) {
      plan = manifest;
      planFile = file;
    } else if (manifest != nullptr) {
      outcome.error = MixProblem(*plan, planFile, *manifest, file);
      if (!outcome.error.empty()) return outcome;
    }
    std::string error;
    auto read = ReadResultsJson(file, error);
    if (!read) {
      std::error_code code;
      unreadable[fs::absolute(file, code).lexically_normal().string()] = error;
      // A job list's missing results are shown as unknown below; others are only left out.
      if (manifest == nullptr) outcome.warnings.push_back(file + ": " + error + ": left out");
      continue;
    }
    for (VerifyResult& result : *read) {
      if (!result.log.empty() && request.checkLogs) {
        if (const std::string why = MergedLogProblem(result.log, file); !why.empty()) {
          outcome.warnings.push_back("the log " + result.log + " named in " + file +
                                     " is left out: " + why);
          result.log.clear();
        }
      }
      if (std::find(outcome.flows.begin(), outcome.flows.end(), result.flow) == outcome.flows.end())
        outcome.flows.push_back(result.flow);
      const PartFlow key = KeyOf(result.library, result.cell, result.flow);
      if (const auto earlier = where.find(key); earlier != where.end()) {
        outcome.warnings.push_back(NameOf(key) + " is in " + fromFile[key] + " and in " + file +
                                   ": the later result (" + file + ") is kept");
        outcome.results[earlier->second] = std::move(result);
      } else {
        where[key] = outcome.results.size();
        outcome.results.push_back(std::move(result));
      }
      fromFile[key] = file;
    }
  }
  if (plan == nullptr) return outcome;
  outcome.title = plan->project;
  // Every result the list's lines should have written and did not: unknown, with why.
  std::map<std::size_t, std::string> taskStates;
  if (!request.clusterJob.empty())
    taskStates = ArrayTaskStates(request.clusterJob, plan->lines.size(),
                                 fs::path(planFile).parent_path().string());
  for (std::size_t i = 0; i < plan->lines.size(); ++i) {
    for (const PlannedResult& planned : plan->lines[i]) {
      const PartFlow key = KeyOf(planned.library, planned.cell, planned.flow);
      if (where.count(key) != 0) continue;
      VerifyResult missing =
          NotRunResult(FlowResult(planned.flow, planned.library, planned.cell),
                       MissingCause(planned, i + 1, unreadable, request.clusterJob, taskStates));
      if (std::find(outcome.flows.begin(), outcome.flows.end(), planned.flow) ==
          outcome.flows.end())
        outcome.flows.push_back(planned.flow);
      where[key] = outcome.results.size();
      outcome.results.push_back(std::move(missing));
    }
  }
  return outcome;
}

#include "verify/all/cluster/SlurmJobs.h"

#include <sstream>
#include <thread>

#include "base/ReplaceFile.h"
#include "verify/all/cluster/CommandOutput.h"
#include "verify/all/cluster/SlurmScript.h"

namespace {

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

// The value after "Key=" in a line of scontrol's one-line output.
std::string FieldOf(const std::string& line, const std::string& key) {
  const std::size_t at = line.find(" " + key + "=");
  const std::size_t start =
      at == std::string::npos ? (line.rfind(key + "=", 0) == 0 ? key.size() + 1 : std::string::npos)
                              : at + key.size() + 2;
  if (start == std::string::npos) return "";
  return line.substr(start, line.find(' ', start) - start);
}

std::optional<std::size_t> TaskNumber(const std::string& text) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 9)
    return std::nullopt;
  return static_cast<std::size_t>(std::stoul(text));
}

// "CANCELLED by 0" reads as CANCELLED.
std::string FirstWord(const std::string& text) { return text.substr(0, text.find(' ')); }

}  // namespace

std::optional<std::vector<std::string>> SplitSbatchArguments(const std::string& text,
                                                             std::string& error) {
  std::vector<std::string> words;
  std::string word;
  bool inWord = false;
  char quote = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quote != 0) {
      if (c == quote) {
        quote = 0;
      } else {
        word += c;
      }
    } else if (c == '\'' || c == '"') {
      quote = c;
      inWord = true;
    } else if (c == '\\' && i + 1 < text.size()) {
      word += text[++i];
      inWord = true;
    } else if (c == ' ' || c == '\t' || c == '\n') {
      if (inWord) words.push_back(word);
      word.clear();
      inWord = false;
    } else {
      word += c;
      inWord = true;
    }
  }
  if (quote != 0) {
    error =
        std::string("-sbatch-args has an open ") + (quote == '"' ? "double" : "single") + " quote";
    return std::nullopt;
  }
  if (inWord) words.push_back(word);
  return words;
}

std::optional<SubmittedJobs> SubmitArrayScript(const std::string& script,
                                               const std::vector<std::string>& sbatchArgs,
                                               std::string& error) {
  std::vector<std::string> argv = {"/bin/sh", script, "submit"};
  argv.insert(argv.end(), sbatchArgs.begin(), sbatchArgs.end());
  const CommandOutput run = RunCommand(argv);
  SubmittedJobs jobs;
  std::istringstream lines(run.out);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("array job: ", 0) == 0) jobs.array = line.substr(11);
    if (line.rfind("merge job: ", 0) == 0) jobs.merge = line.substr(11);
  }
  if (!run.started || run.status != 0 || jobs.array.empty() || jobs.merge.empty()) {
    const std::string said = Trimmed(run.started ? run.err : run.reason);
    error = "the scheduler refused the jobs: " + (said.empty() ? "sbatch gave no job id" : said);
    return std::nullopt;
  }
  return jobs;
}

std::optional<std::string> JobState(const std::string& job, std::string& error) {
  const CommandOutput run = RunCommand({"scontrol", "show", "job", "-o", job});
  if (run.started && run.status == 0)
    return FieldOf(run.out.substr(0, run.out.find('\n')), "JobState");
  if (run.started && run.err.find("Invalid job id") != std::string::npos) return "";
  error = Trimmed(run.started ? run.err : run.reason);
  return std::nullopt;
}

bool FinalJobState(const std::string& state) {
  return state != "PENDING" && state != "RUNNING" && state != "CONFIGURING" &&
         state != "COMPLETING" && state != "SUSPENDED" && state != "REQUEUED" &&
         state != "RESIZING" && state != "STOPPED" && state != "SIGNALING" &&
         state != "STAGE_OUT" && state != "REQUEUE_HOLD" && state != "REQUEUE_FED";
}

std::optional<std::string> WaitForJob(const std::string& job, std::chrono::milliseconds interval,
                                      const std::function<bool()>& keepWaiting,
                                      const std::function<void(const std::string&)>& unreachable) {
  bool answered = true;
  for (;;) {
    std::string error;
    const auto state = JobState(job, error);
    if (!state && answered) unreachable(error);
    answered = state.has_value();
    if (state && (state->empty() || FinalJobState(*state))) return *state;
    if (!keepWaiting()) return std::nullopt;
    std::this_thread::sleep_for(interval);
    if (!keepWaiting()) return std::nullopt;
  }
}

std::string CancelJobs(const std::vector<std::string>& jobs) {
  std::vector<std::string> argv = {"scancel"};
  argv.insert(argv.end(), jobs.begin(), jobs.end());
  const CommandOutput run = RunCommand(argv);
  if (!run.started) return run.reason;
  return run.status == 0 ? "" : Trimmed(run.err);
}

std::map<std::size_t, std::string> ParseTaskStates(const std::string& text,
                                                   const std::string& arrayJob) {
  std::map<std::size_t, std::string> states;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (line.find("JobState=") != std::string::npos) {
      // scontrol: "JobId=12 ArrayJobId=11 ArrayTaskId=3 ... JobState=CANCELLED ..."
      if (FieldOf(line, "ArrayJobId") != arrayJob) continue;
      if (const auto task = TaskNumber(FieldOf(line, "ArrayTaskId")))
        states[*task] = FieldOf(line, "JobState");
      continue;
    }
    // sacct: "11_3|CANCELLED by 0"
    const std::size_t bar = line.find('|');
    const std::string prefix = arrayJob + "_";
    if (bar == std::string::npos || line.rfind(prefix, 0) != 0) continue;
    if (const auto task = TaskNumber(line.substr(prefix.size(), bar - prefix.size())))
      states[*task] = FirstWord(Trimmed(line.substr(bar + 1)));
  }
  return states;
}

std::map<std::size_t, std::string> ArrayTaskStates(const std::string& arrayJob, std::size_t tasks,
                                                   const std::string& results) {
  std::map<std::size_t, std::string> states;
  const CommandOutput sacct =
      RunCommand({"sacct", "-n", "-P", "-X", "-j", arrayJob, "--format=JobID,State"});
  if (sacct.started && sacct.status == 0) states = ParseTaskStates(sacct.out, arrayJob);
  if (states.empty()) {
    const CommandOutput scontrol = RunCommand({"scontrol", "show", "job", "-o", arrayJob});
    if (scontrol.started && scontrol.status == 0) states = ParseTaskStates(scontrol.out, arrayJob);
    // The controller drops a task cancelled before it started from the array's records: once
    // the array has ended, a task it no longer lists among the others was cancelled.
    if (!states.empty()) {
      for (std::size_t task = 1; task <= tasks; ++task) states.try_emplace(task, "CANCELLED");
    }
  }
  // Neither keeps the job: the note slurmstepd leaves in a stopped task's error file.
  for (std::size_t task = 1; task <= tasks; ++task) {
    if (states.count(task) != 0) continue;
    std::string text;
    if (!ReadRegularFile(ArrayTaskErrorFile(results, arrayJob, task), text, nullptr, 1 << 20))
      continue;
    if (text.find("DUE TO TIME LIMIT") != std::string::npos) {
      states[task] = "TIMEOUT";
    } else if (text.find(" CANCELLED AT ") != std::string::npos) {
      states[task] = "CANCELLED";
    } else if (text.find("DUE TO NODE FAILURE") != std::string::npos) {
      states[task] = "NODE_FAIL";
    }
  }
  return states;
}

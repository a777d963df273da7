#include "verify/all/cluster/SlurmScript.h"

#include <cstdio>
#include <filesystem>

#include "verify/all/jobs/JobCommands.h"

namespace {

// The stop of a job that outlives its limit: a polite signal, then a forced one 5 s later.
constexpr long kJobGraceSeconds = 5;
constexpr long kTaskStartSeconds = 60;
constexpr long kMergeSeconds = 30 * 60;

// A path in a file-name pattern of sbatch, where "%" starts a replacement.
std::string PatternPath(const std::string& path) {
  std::string text;
  for (char c : path) text += c == '%' ? std::string("%%") : std::string(1, c);
  return text;
}

std::string FolderOf(const std::string& path) {
  return std::filesystem::path(path).parent_path().string();
}

}  // namespace

std::string SlurmTimeLimit(long seconds) {
  if (seconds < 60) seconds = 60;
  const long days = seconds / 86400;
  const long hours = seconds % 86400 / 3600;
  const long minutes = seconds % 3600 / 60;
  const long rest = seconds % 60;
  char text[48] = {};
  if (days > 0) {
    std::snprintf(text, sizeof text, "%ld-%02ld:%02ld:%02ld", days, hours, minutes, rest);
  } else {
    std::snprintf(text, sizeof text, "%02ld:%02ld:%02ld", hours, minutes, rest);
  }
  return text;
}

long ArrayTaskSeconds(long jobTimeLimit, std::size_t jobsPerLine) {
  const long jobs = static_cast<long>(jobsPerLine == 0 ? 1 : jobsPerLine);
  return (jobTimeLimit + kJobGraceSeconds) * jobs + kTaskStartSeconds;
}

std::string SbatchPathProblem(const std::string& path) {
  if (path.find_first_of(" \t\n\r\"'\\") == std::string::npos) return "";
  return "the path " + path +
         " holds a blank, a quote, a backslash or a line break, which an #SBATCH line cannot "
         "carry";
}

std::string ArrayTaskErrorFile(const std::string& results, const std::string& arrayJob,
                               std::size_t task) {
  return results + "/slurm-" + arrayJob + "_" + std::to_string(task) + ".err";
}

std::string SlurmArrayScript(const SlurmScriptRequest& request) {
  const std::string script = ShellWord(request.script);
  const std::string lines = ShellWord(request.lines);
  const std::string merged = ShellWord(request.merged);
  const std::string mergedPart = ShellWord(request.merged + ".part");
  const std::string results = PatternPath(request.results);
  std::string text;
  text += "#!/bin/sh\n";
  text += "# kestra verify all as a Slurm job array: array task i runs line i of\n";
  text += "# " + request.lines + "\n";
  text += "#\n";
  text += "# REQUIREMENT: the project, the kestra install and the results folder must be on a\n";
  text += "# file system that every node of the cluster shares, at these same paths:\n";
  text += "#   project: " + FolderOf(request.project) + "\n";
  text += "#   install: " + FolderOf(FolderOf(request.program)) + "\n";
  text += "#   results: " + request.results + "\n";
  text += "#\n";
  text +=
      "# Submit the array and the merge job after it: sh " + script + " submit [sbatch options]\n";
  text += "# (sbatch " + script + " submits the array alone; then merge with\n";
  text += "#  sh " + script + " merge ARRAY_JOB_ID.)\n";
  text += "#SBATCH --job-name=kestra-verify\n";
  text += "#SBATCH --array=1-" + std::to_string(request.lineCount) + "\n";
  text += "#SBATCH --time=" +
          SlurmTimeLimit(ArrayTaskSeconds(request.jobTimeLimit, request.jobsPerLine)) + "\n";
  text += "#SBATCH --output=" + results + "/slurm-%A_%a.out\n";
  text += "#SBATCH --error=" + results + "/slurm-%A_%a.err\n";
  text += "\n";
  text += "case \"${1:-}\" in\n";
  text += "submit)\n";
  text += "  shift\n";
  text += "  array=$(sbatch --parsable \"$@\" " + script + ") || exit 2\n";
  text += "  array=${array%%;*}\n";
  text +=
      "  if ! merge=$(sbatch --parsable \"$@\" --dependency=afterany:\"$array\" "
      "--job-name=kestra-merge \\\n";
  text += "      --time=" + SlurmTimeLimit(kMergeSeconds) +
          " --output=" + ShellWord(results + "/slurm-merge-%j.out") +
          " --error=" + ShellWord(results + "/slurm-merge-%j.err") + " \\\n";
  text += "      --wrap=\"exec /bin/sh " + script + " merge $array\"); then\n";
  text += "    scancel \"$array\"\n";
  text += "    echo \"kestra: the merge job was refused; the array job $array is cancelled\" >&2\n";
  text += "    exit 2\n";
  text += "  fi\n";
  text += "  echo \"array job: $array\"\n";
  text += "  echo \"merge job: ${merge%%;*}\"\n";
  text += "  exit 0\n";
  text += "  ;;\n";
  text += "merge)\n";
  text += "  if [ -z \"${2:-}\" ]; then echo \"usage: sh " + script +
          " merge ARRAY_JOB_ID\" >&2; exit 2; fi\n";
  text += "  " + ShellWord(request.program) + " report merge " + ShellWord(request.results) +
          " -cluster-job \"$2\"" + request.mergeOptions + " -html " + ShellWord(request.page) +
          " -json >" + mergedPart + "\n";
  text += "  status=$?\n";
  text += "  mv -f " + mergedPart + " " + merged + " || exit 2\n";
  text +=
      "  # A verdict (0 passed, 1 failed, 2 unknown, 3 passed with warnings) is the page's to\n";
  text += "  # show, not a failure of this job.\n";
  text += "  [ \"$status\" -le 3 ] && exit 0\n";
  text += "  exit \"$status\"\n";
  text += "  ;;\n";
  text += "esac\n";
  text += "if [ -z \"${SLURM_ARRAY_TASK_ID:-}\" ]; then\n";
  text += "  echo \"usage: sh " + script + " submit [sbatch options]\" >&2\n";
  text += "  exit 2\n";
  text += "fi\n";
  text += "line=$(sed -n \"${SLURM_ARRAY_TASK_ID}p\" " + lines + ")\n";
  text += "if [ -z \"$line\" ]; then\n";
  text += "  echo \"kestra: " + lines + " has no line $SLURM_ARRAY_TASK_ID\" >&2\n";
  text += "  exit 2\n";
  text += "fi\n";
  text += "sh -c \"$line\"\n";
  text += "status=$?\n";
  text += "# A verdict is in the line's results; a crash or a signal is this task's failure.\n";
  text += "[ \"$status\" -le 3 ] && exit 0\n";
  text += "exit \"$status\"\n";
  return text;
}

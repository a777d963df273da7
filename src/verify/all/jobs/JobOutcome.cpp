#include "verify/all/jobs/JobOutcome.h"

#include <sstream>

#include "base/ReplaceFile.h"
#include "verify/ResultOutput.h"
#include "verify/all/jobs/ResultFile.h"

namespace {

std::string LastLine(const std::string& file) {
  std::string text;
  ReadRegularFile(file, text);
  std::istringstream in(text);
  std::string line;
  std::string last;
  while (std::getline(in, line)) {
    if (!line.empty()) last = line;
  }
  return last;
}

}  // namespace

VerifyResult JobResult(const PartJob& job, const JobEnd& end, const std::string& output,
                       const std::string& errors, long timeLimit) {
  VerifyResult result = FlowResult(job.flow, job.library, job.cell);
  if (end.how == JobEnd::How::TimedOut) {
    result.cause = "timed out";
    result.message = "timed out: no verdict within the time limit of " + std::to_string(timeLimit) +
                     " s; the job was stopped";
    return result;
  }
  if (end.how == JobEnd::How::Stopped) return NotRunResult(result, "stopped");
  // A job that never started wrote nothing: what lies at its output paths is not its own (an
  // earlier file, a planted link) and is not read.
  if (end.how == JobEnd::How::NotStarted)
    return NotRunResult(
        result, "kestra verify " + job.flow + " gave no result (" + DescribeJobEnd(end) + ")");
  std::string error;
  auto results = ReadResultsJson(output, error);
  if (results && results->size() == 1) {
    VerifyResult read = results->front();
    // The job names the part as the plan does, whatever the flow printed.
    read.flow = job.flow;
    read.library = job.library;
    read.cell = job.cell;
    if (end.how == JobEnd::How::Signalled && read.verdict != Verdict::Unknown) {
      read.verdict = Verdict::Unknown;
      read.message = read.cause = "kestra verify " + job.flow + " ended by " + DescribeJobEnd(end);
    }
    return read;
  }
  const std::string said = LastLine(errors);
  return NotRunResult(result, "kestra verify " + job.flow + " gave no result (" +
                                  DescribeJobEnd(end) + (said.empty() ? "" : ": " + said) + ")");
}

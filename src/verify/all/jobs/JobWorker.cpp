#include "verify/all/jobs/JobWorker.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/OwnFolder.h"
#include "verify/VerifyVerb.h"

namespace {

bool WriteAll(int fd, const std::string& text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const ssize_t wrote = ::write(fd, text.data() + done, text.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

// Reads one line from fd (without its line break); false at the end of the input.
bool ReadLine(int fd, std::string& buffer, std::string& line) {
  for (;;) {
    const std::size_t end = buffer.find('\n');
    if (end != std::string::npos) {
      line = buffer.substr(0, end);
      buffer.erase(0, end + 1);
      return true;
    }
    char chunk[4096];
    const ssize_t got = ::read(fd, chunk, sizeof chunk);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      if (buffer.empty()) return false;
      line.swap(buffer);
      buffer.clear();
      return true;
    }
    buffer.append(chunk, static_cast<std::size_t>(got));
  }
}

// Standard output and error of this process pointed at fd for as long as it lives.
class RedirectedOutput {
 public:
  explicit RedirectedOutput(int fd) {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    saved_[0] = ::fcntl(1, F_DUPFD_CLOEXEC, 3);
    saved_[1] = ::fcntl(2, F_DUPFD_CLOEXEC, 3);
    ::dup2(fd, 1);
    ::dup2(fd, 2);
  }
  ~RedirectedOutput() {
    std::cout.flush();
    std::cerr.flush();
    std::fflush(nullptr);
    for (int i = 0; i < 2; ++i) {
      if (saved_[i] < 0) continue;
      ::dup2(saved_[i], i + 1);
      ::close(saved_[i]);
    }
  }
  RedirectedOutput(const RedirectedOutput&) = delete;
  RedirectedOutput& operator=(const RedirectedOutput&) = delete;

 private:
  int saved_[2] = {-1, -1};
};

// One job: `kestra verify FLOW ...` in this process, its results into the output file. The
// reply: "done STATUS", or "not-started REASON" when its files cannot be made (whatever lies
// at their paths is not its own and must not be read as its result).
std::string RunJob(const JobCommand& job, std::span<const VerifyFlow> flows) {
  std::string reason;
  const int output = CreateOutputFile(job.output, &reason);
  const int errors = output < 0 ? -1 : CreateOutputFile(job.errors, &reason);
  if (output < 0 || errors < 0) {
    if (output >= 0) ::close(output);
    std::replace(reason.begin(), reason.end(), '\n', ' ');
    return "not-started " + reason + "\n";
  }
  // A flow changes the current folder, which belongs to the whole process: every job starts
  // where the worker started.
  std::error_code error;
  const std::filesystem::path start = std::filesystem::current_path(error);
  std::ostringstream results;
  int status = 2;
  {
    const RedirectedOutput redirected(errors);
    if (!job.argv.empty() && job.argv.front() == "verify") {
      status = RunVerifyVerb({job.argv.begin() + 1, job.argv.end()}, flows, results, std::cerr);
    } else {
      std::cerr << "kestra verify all -worker: a job runs kestra verify, nothing else\n";
    }
  }
  if (!error) std::filesystem::current_path(start, error);
  if (!WriteAll(output, results.str())) status = 2;
  ::close(output);
  ::close(errors);
  return "done " + std::to_string(status) + "\n";
}

}  // namespace

std::string WorkerJobLine(const JobCommand& command) {
  const nlohmann::json line = {
      {"argv", std::vector<std::string>(command.argv.begin() + (command.argv.empty() ? 0 : 1),
                                        command.argv.end())},
      {"output", command.output},
      {"errors", command.errors}};
  return line.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

int RunJobWorker(int inputFd, int replyFd, std::span<const VerifyFlow> flows) {
  std::string buffer;
  std::string line;
  while (ReadLine(inputFd, buffer, line)) {
    if (line.empty()) continue;
    JobCommand job;
    try {
      const auto parsed = nlohmann::json::parse(line);
      job.argv = parsed.at("argv").get<std::vector<std::string>>();
      job.output = parsed.at("output").get<std::string>();
      job.errors = parsed.at("errors").get<std::string>();
    } catch (const nlohmann::json::exception& e) {
      std::cerr << "kestra verify all -worker: not a job: " << e.what() << "\n";
      return 2;
    }
    if (!WriteAll(replyFd, RunJob(job, flows))) return 2;
  }
  return 0;
}

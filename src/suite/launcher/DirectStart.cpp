#include "suite/launcher/DirectStart.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "base/qvdCommon.h"
#include "suite/launcher/ArgumentSplitter.h"
#include "suite/launcher/ProgramResolver.h"

namespace {

// Only calls that are safe between fork and exec in a program with threads (the module's).
[[noreturn]] void ExecTool(char* const* argv, int report) {
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  struct sigaction standard = {};
  standard.sa_handler = SIG_DFL;
  ::sigaction(SIGPIPE, &standard, nullptr);
  const int in = ::open("/dev/null", O_RDONLY);
  if (in > STDIN_FILENO) {
    ::dup2(in, STDIN_FILENO);
    ::close(in);
  }
  ::execv(argv[0], argv);
  const int error = errno;
  [[maybe_unused]] const ssize_t told = ::write(report, &error, sizeof error);
  ::_exit(127);
}

}  // namespace

ToolLaunch ComposeLaunch(const char* operation, const std::string& executable,
                         const std::string& args, const std::string& product,
                         const std::string& owner) {
  ToolLaunch launch;
  std::vector<std::string> executableWords = SplitArguments(executable);
  std::string programName;
  if (!executableWords.empty()) {
    programName = executableWords.front();
    executableWords.erase(executableWords.begin());
  }
  const char* path = std::getenv("PATH");
  launch.program = ResolveProgram(operation, programName, qvdGetInstallRoot(), path ? path : "");
  launch.arguments = std::move(executableWords);
  for (auto& word : SplitArguments(args)) launch.arguments.push_back(std::move(word));
  launch.record = {operation, launch.program, args, executable, product, owner};
  return launch;
}

std::string StartFailure(const std::string& program, const std::string& reason) {
  return "Cannot start " + program + ": " + reason + ".";
}

std::vector<char*> ExecArguments(const ToolLaunch& launch) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(launch.program.c_str()));
  for (const std::string& word : launch.arguments) argv.push_back(const_cast<char*>(word.c_str()));
  argv.push_back(nullptr);
  return argv;
}

namespace {

// Starts the program in a session of its own, input from /dev/null, as no child of this
// process, so that it outlives it and is never left for this process to reap. Returns "" or
// why it could not start (the program missing or not executable, or the error of its exec).
std::string StartDetached(const ToolLaunch& launch) {
  if (std::string why = WhyNotRunnable(launch.program); !why.empty()) return why;
  const std::vector<char*> argv = ExecArguments(launch);
  // The tool's exec failure comes back as its errno; a successful exec closes the pipe.
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return std::strerror(errno);
  const pid_t child = ::fork();
  if (child == 0) {
    // The intermediate child: a new session, the tool its child, then gone, so that the tool
    // is adopted by init (or the nearest subreaper) and not by this process.
    ::close(report[0]);
    ::setsid();
    const pid_t tool = ::fork();
    if (tool == 0) ExecTool(argv.data(), report[1]);
    if (tool < 0) {
      const int error = errno;
      [[maybe_unused]] const ssize_t told = ::write(report[1], &error, sizeof error);
    }
    ::_exit(0);
  }
  if (child < 0) {
    const int error = errno;
    ::close(report[0]);
    ::close(report[1]);
    return std::strerror(error);
  }
  ::close(report[1]);
  while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
  }
  int error = 0;
  ssize_t got;
  while ((got = ::read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
  }
  ::close(report[0]);
  return got == static_cast<ssize_t>(sizeof error) ? std::strerror(error) : std::string();
}

}  // namespace

std::string StartDirect(const ToolLaunch& launch) {
  AppendLaunchRecord(launch.record);
  const std::string why = StartDetached(launch);
  return why.empty() ? why : StartFailure(launch.program, why);
}

#include "verify/all/jobs/WorkerPool.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <deque>
#include <memory>

#include "base/OwnFolder.h"
#include "base/ParentDeathWatch.h"
#include "verify/StopSignals.h"
#include "verify/all/jobs/JobWorker.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Worker : WatchedProcess {
  int input = -1;    // the worker's standard input: job lines
  int replies = -1;  // its standard output: "done STATUS" lines
  std::string buffer;
  // The jobs given to it, in order: the first runs (since `started`), the next waits in its
  // input so that it starts the moment the first is done, not after this process has
  // read the answer and written the next line.
  std::deque<std::size_t> jobs;
  std::unique_ptr<ParentDeathWatch> watch;
  std::size_t number = 0;    // 1 for the first worker started, and so on
  bool secondPlace = false;  // the place its next job gets: 2 * number - 1, else - 2
};

void CloseFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

// Starts a worker in a process group of its own; false with reason set when it cannot start.
bool Spawn(const std::vector<std::string>& command, const std::string& log, Worker& worker,
           std::string& reason) {
  const int errors = CreateOutputFile(log, &reason);
  if (errors < 0) return false;
  int toWorker[2] = {-1, -1};
  int fromWorker[2] = {-1, -1};
  if (::pipe2(toWorker, O_CLOEXEC) != 0 || ::pipe2(fromWorker, O_CLOEXEC) != 0) {
    reason = std::string("cannot start a worker: ") + std::strerror(errno);
    for (int fd : {toWorker[0], toWorker[1], fromWorker[0], errors})
      if (fd >= 0) ::close(fd);
    return false;
  }
  worker.watch = std::make_unique<ParentDeathWatch>();
  const pid_t pid = StartInOwnGroup(command, toWorker[0], fromWorker[1], errors, *worker.watch,
                                    "cannot start a worker", reason);
  for (int fd : {toWorker[0], fromWorker[1], errors}) ::close(fd);
  if (pid == 0) {
    for (int fd : {toWorker[1], fromWorker[0]}) ::close(fd);
    return false;
  }
  worker.watch->ChildStarted();
  worker.pid = pid;
  worker.input = toWorker[1];
  worker.replies = fromWorker[0];
  return true;
}

bool WriteLine(int fd, const std::string& line) {
  std::size_t done = 0;
  while (done < line.size()) {
    const ssize_t wrote = ::write(fd, line.data() + done, line.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) return false;
    done += static_cast<std::size_t>(wrote);
  }
  return true;
}

// SIGPIPE ignored while it lives: a worker that died while given a job is seen by its exit,
// not by the signal of a write to its closed input.
class IgnoredSigpipe {
 public:
  IgnoredSigpipe() {
    ::sigaction(SIGPIPE, nullptr, &old_);
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, nullptr);
  }
  ~IgnoredSigpipe() { ::sigaction(SIGPIPE, &old_, nullptr); }
  IgnoredSigpipe(const IgnoredSigpipe&) = delete;
  IgnoredSigpipe& operator=(const IgnoredSigpipe&) = delete;

 private:
  struct sigaction old_ = {};
};

}  // namespace

void WorkerPool::Run(std::size_t count, const JobRunner::CommandOf& command,
                     const JobRunner::Ended& ended) {
  Run(count, CommandAt([&](std::size_t index, std::size_t) { return command(index); }), ended);
}

void WorkerPool::Run(std::size_t count, const CommandAt& command, const JobRunner::Ended& ended) {
  StopSignals signals;
  const IgnoredSigpipe sigpipe;
  std::vector<Worker> workers;
  std::size_t next = 0;
  std::deque<std::size_t> again;  // jobs given to a worker that died before starting them
  std::size_t started = 0;
  auto busy = [&] {
    for (const Worker& worker : workers)
      if (!worker.jobs.empty()) return true;
    return false;
  };
  auto waiting = [&] { return !again.empty() || next < count; };
  auto take = [&] {
    if (again.empty()) return next++;
    const std::size_t index = again.front();
    again.pop_front();
    return index;
  };
  auto give = [&](Worker& worker) {
    const std::size_t index = take();
    if (worker.jobs.empty()) worker.started = Clock::now();
    worker.jobs.push_back(index);
    // It holds at most two jobs, the first of which has the other place: the job that had
    // this place before has ended.
    const std::size_t place = 2 * worker.number - (worker.secondPlace ? 1 : 2);
    worker.secondPlace = !worker.secondPlace;
    // A worker that cannot take the line has died: its exit, seen below, ends the job.
    WriteLine(worker.input, WorkerJobLine(command(index, place)));
  };
  while ((stopSignal_ == 0 && waiting()) || busy()) {
    Clock::time_point now = Clock::now();
    if (signals.Caught() != 0 && stopSignal_ == 0) {
      stopSignal_ = signals.Caught();
      for (Worker& worker : workers) {
        if (!worker.jobs.empty()) worker.Stop(now, grace_);
      }
    }
    // Every idle worker takes the next job; more workers while jobs wait and room is left.
    for (std::size_t k = 0; stopSignal_ == 0 && waiting(); ++k) {
      if (k == workers.size()) {
        if (workers.size() >= parallel_) break;
        Worker fresh;
        fresh.number = started + 1;
        std::string reason;
        if (!Spawn(worker_, logs_ + "worker-" + std::to_string(++started) + ".log", fresh,
                   reason)) {
          JobEnd end;
          end.reason = reason;
          ended(take(), end);
          --k;
          continue;
        }
        workers.push_back(std::move(fresh));
      }
      Worker& worker = workers[k];
      if (worker.jobs.empty() && !worker.stopping) give(worker);
    }
    // Then each busy worker gets its next job in advance, once all have one.
    for (Worker& worker : workers)
      if (stopSignal_ == 0 && waiting() && worker.jobs.size() == 1 && !worker.stopping)
        give(worker);
    std::vector<pollfd> fds;
    for (const Worker& worker : workers) fds.push_back({worker.replies, POLLIN, 0});
    ::poll(fds.data(), fds.size(), 20);
    now = Clock::now();
    for (std::size_t k = 0; k < workers.size(); ++k) {
      Worker& worker = workers[k];
      if (fds[k].revents != 0) {
        char chunk[512];
        const ssize_t got = ::read(worker.replies, chunk, sizeof chunk);
        if (got > 0) worker.buffer.append(chunk, static_cast<std::size_t>(got));
      }
      for (std::size_t end = worker.buffer.find('\n'); end != std::string::npos;
           end = worker.buffer.find('\n')) {
        const std::string line = worker.buffer.substr(0, end);
        worker.buffer.erase(0, end + 1);
        const bool finished = line.rfind("done ", 0) == 0;
        if (worker.jobs.empty() || worker.stopping ||
            (!finished && line.rfind("not-started ", 0) != 0))
          continue;
        JobEnd done;
        if (finished) {
          done.how = JobEnd::How::Exited;
          done.code = std::atoi(line.c_str() + 5);
        } else {
          done.reason = line.substr(12);
        }
        done.took = std::chrono::duration_cast<std::chrono::milliseconds>(now - worker.started);
        const std::size_t index = worker.jobs.front();
        worker.jobs.pop_front();
        worker.started = now;  // the next, if it has one, started as this one ended
        ended(index, done);
      }
    }
    for (auto worker = workers.begin(); worker != workers.end();) {
      int status = 0;
      const pid_t gone = ::waitpid(worker->pid, &status, WNOHANG);
      if (gone == 0 || (gone < 0 && errno == EINTR)) {
        worker->Watch(now, !worker->jobs.empty(), limit_, grace_);
        ++worker;
        continue;
      }
      // The worker ended: whatever is left of its group (its tool, its watcher) goes with it,
      // and its running job, if it had one, ends by how the worker ended; the job waiting
      // behind it never started and goes to another worker.
      ::kill(-worker->pid, SIGKILL);
      CloseFd(worker->input);
      CloseFd(worker->replies);
      for (std::size_t k = worker->jobs.size(); k > 1; --k) again.push_front(worker->jobs[k - 1]);
      if (!worker->jobs.empty()) {
        const JobEnd end = EndOfProcess(
            gone, status, worker->timedOut, worker->stopping,
            std::chrono::duration_cast<std::chrono::milliseconds>(now - worker->started),
            "lost track of the worker");
        const std::size_t index = worker->jobs.front();
        worker = workers.erase(worker);
        ended(index, end);
        continue;
      }
      worker = workers.erase(worker);
    }
  }
  // No more jobs: each worker ends at the end of its input; one that does not is ended.
  for (Worker& worker : workers) CloseFd(worker.input);
  const Clock::time_point deadline = Clock::now() + grace_;
  for (Worker& worker : workers) {
    int status = 0;
    while (::waitpid(worker.pid, &status, WNOHANG) == 0) {
      if (Clock::now() >= deadline) {
        ::kill(-worker.pid, SIGKILL);
        while (::waitpid(worker.pid, &status, 0) < 0 && errno == EINTR) {
        }
        break;
      }
      ::usleep(2000);
    }
    ::kill(-worker.pid, SIGKILL);
    CloseFd(worker.replies);
  }
}

#include "verify/StopSignals.h"

#include <fcntl.h>
#include <unistd.h>

namespace {

// The write end of the pipe that turns a signal into an event of a loop; -1 when no run
// waits. Only the handler and the run that owns the pipe touch it.
volatile std::sig_atomic_t signalPipe = -1;
volatile std::sig_atomic_t caughtSignal = 0;

extern "C" void OnStopSignal(int signal) {
  caughtSignal = signal;
  const int fd = signalPipe;
  if (fd >= 0) {
    const char byte = 1;
    [[maybe_unused]] const auto written = ::write(fd, &byte, 1);
  }
}

}  // namespace

StopSignals::StopSignals() {
  if (::pipe2(fds_, O_CLOEXEC | O_NONBLOCK) != 0) fds_[0] = fds_[1] = -1;
  signalPipe = fds_[1];
  caughtSignal = 0;
  struct sigaction action = {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &action, &old_[i]);
}

StopSignals::~StopSignals() {
  for (std::size_t i = 0; i < std::size(kSignals); ++i) ::sigaction(kSignals[i], &old_[i], nullptr);
  signalPipe = -1;
  for (int fd : fds_)
    if (fd >= 0) ::close(fd);
}

int StopSignals::Caught() const { return caughtSignal; }

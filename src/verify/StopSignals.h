// The stop signals of a headless run (SIGINT, SIGTERM, SIGHUP), caught while one of these
// lives and handed back to the previous handlers after it: the run then stops its tools
// itself and ends as the signal would have ended it. A signal also writes a byte to a pipe,
// so that an event loop can wake on ReadEnd. One at a time per process; the thread that
// runs the tools.
#pragma once

#include <csignal>
#include <iterator>

class StopSignals {
 public:
  StopSignals();
  ~StopSignals();
  StopSignals(const StopSignals&) = delete;
  StopSignals& operator=(const StopSignals&) = delete;

  // Readable after a signal came (-1 when no pipe could be made).
  int ReadEnd() const { return fds_[0]; }
  // The last stop signal caught since this began; 0 for none.
  int Caught() const;

 private:
  static constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};
  int fds_[2] = {-1, -1};
  struct sigaction old_[std::size(kSignals)] = {};
};

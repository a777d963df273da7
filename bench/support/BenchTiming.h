// Timing helpers shared by the benchmarks: wall and processor time of a piece of work, and the
// median of a run's iterations (one disturbed iteration on a shared machine does not move it).
#pragma once

#include <time.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <vector>

inline double Seconds(const std::function<void()>& work) {
  const auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The middle value (the mean of the two middle ones for an even count); 0 for none.
inline double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const std::size_t half = values.size() / 2;
  return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

// Processor time of this process (user and system, page faults included) in seconds: on a
// machine shared with other work the ratios of these are steadier than those of wall time.
inline double CpuSeconds() {
  timespec now{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

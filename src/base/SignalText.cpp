#include "base/SignalText.h"

#include <cstring>

std::string SignalText(int signal) {
  const char* name = ::strsignal(signal);
  return "signal " + std::to_string(signal) + (name ? std::string(" (") + name + ")" : "");
}

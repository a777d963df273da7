#include "projectfile/SpiProcessState.h"

#include <fstream>
#include <iterator>

#include "projectfile/SpiNeverDestroyed.h"

SpiProcessState& SpiState() {
  // Never destroyed: the spare log block goes back with the process.
  static SpiNeverDestroyed<SpiProcessState> state;
  return state.get();
}

std::vector<std::string>& SpiProcessArguments() {
  SpiProcessState& state = SpiState();
  if (!state.argumentsLoaded) {
    state.argumentsLoaded = true;
    std::ifstream in("/proc/self/cmdline", std::ios::binary);
    const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t start = 0;
    while (start < all.size()) {
      std::size_t end = all.find('\0', start);
      if (end == std::string::npos) end = all.size();
      state.arguments.push_back(all.substr(start, end - start));
      start = end + 1;
    }
  }
  return state.arguments;
}

void SpiResetProcessState() {
  SpiProcessState& state = SpiState();
  state.installFilePath.clear();
  state.siteFilePath.clear();
  state.userFilePath.clear();
  state.searchHandle = nullptr;
  state.refusalLogging = true;
  state.sessionLookupBusy = false;
}

// A verification flow as `kestra verify` knows it: its name, a one-line summary, its usage
// and its runner. Each flow folder gives one of these; the module's registry lists them
// (cmdline/VerifyFlows.cpp), so adding a flow adds one folder and one registry entry.
// Standard C++ only.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "verify/PartWords.h"
#include "verify/VerifyResult.h"

// What a flow's runner gives back: the results of its run, one per part or one for the run,
// or, when the words cannot be used, the reason (a usage error: exit status 2, no results).
struct FlowRun {
  std::vector<VerifyResult> results;
  std::string usageError;
};

struct VerifyFlow {
  const char* name;     // "rulex"
  const char* summary;  // one line for the flow list
  const char* usage;    // the options after the flow's name, one or more lines
  // Runs on the words after the flow's name, without the options every flow shares (-json,
  // -junit FILE, -help). Progress goes to standard error. Needs a QApplication; UI thread.
  FlowRun (*run)(const std::vector<std::string>& words);
  // The flow's words for one part of a `kestra verify all` run, or why it does not apply to
  // the part. A flow without it checks no parts (it is not a column of that run).
  PartWords (*partWords)(const PartRequest& part) = nullptr;
  // The flow's options that take a value: the word after one is its value whatever it reads
  // (a part named -json or --help), never one of the options every flow shares.
  std::span<const std::string_view> valued = {};
};

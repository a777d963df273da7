// One verification result as a value: a whole run of a flow, or one part of it. Flows fill
// it from their reports; the dialogs and the headless verb turn it into text only at the end.
// Standard C++ only; value type, any thread.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "verify/Verdict.h"

struct VerifyResult {
  std::string flow;     // the registry name: "rulex", "packaging", ...
  std::string library;  // as the user named it
  std::string cell;     // "" for a run over the whole library
  Verdict verdict = Verdict::Unknown;
  std::string message;  // the flow's own verdict text, or why there is none
  std::string log;      // the log the dialog would open; "" when the run made none
  // Named counts in the tool's order; no value when the run gave no counts.
  std::vector<std::pair<std::string, std::optional<long>>> counts;
  std::vector<std::string> findings;  // one line per finding, when the flow lists them
  std::string cause;                  // why the verdict is unknown ("" otherwise)
};

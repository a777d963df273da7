// One verification result as a value: a whole run of a flow, or one part of it. Flows fill
// it from their reports; the dialogs and the headless verb turn it into text only at the end.
// Standard C++ only; value type, any thread.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "verify/Finding.h"
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
  std::vector<Finding> findings;   // what the tool's reports say, in report order
  bool findingsTruncated = false;  // findings stops at kMaxFindings; the reports say more
  std::string cause;               // why the verdict is unknown ("" otherwise)
  double duration = 0;             // seconds the run took (0 when it did not run)
  // The flow does not apply to the part (cause says why: "not run: no template given"). Such
  // a result is shown as not run, never as passed, and does not count towards the worst
  // verdict.
  bool notRun = false;
  // Passed because every finding that made it fail or warn was waived: shown as
  // "passed (waived)", never as plain passed.
  bool waived = false;
};

// A result of flow for library and cell ("" for a whole library), its verdict unknown and
// nothing said yet: what each flow's runner starts from.
inline VerifyResult FlowResult(std::string flow, std::string library, std::string cell) {
  VerifyResult result;
  result.flow = std::move(flow);
  result.library = std::move(library);
  result.cell = std::move(cell);
  return result;
}

// Appends a finding to result, at most kMaxFindings of them.
inline void AddFinding(VerifyResult& result, Finding finding) {
  AddFinding(result.findings, result.findingsTruncated, std::move(finding));
}

// result for a run that could not be made: its message and its cause say why.
inline VerifyResult NotRunResult(VerifyResult result, std::string cause) {
  result.message = result.cause = std::move(cause);
  return result;
}

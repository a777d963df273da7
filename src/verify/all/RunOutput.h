// What `kestra verify all` and `kestra report merge` both write: the per-flow summary on
// standard error, the results as -json with the findings that came and went, and the usage
// texts with the options about findings. Standard C++; any thread.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "verify/VerifyResult.h"
#include "verify/all/history/FindingChanges.h"

// The usage with the options about findings in place of its %s.
std::string UsageWithFindingOptions(const char* usage);

// The summary on standard error: per flow how many parts gave each verdict.
void WriteSummary(const std::vector<std::string>& flows, const std::vector<VerifyResult>& results,
                  std::ostream& err);

// The results as -json gives them, with the findings that came and went since the previous
// run under "new_findings" and "fixed_findings".
void WriteRunJson(const std::vector<VerifyResult>& results,
                  const std::vector<FindingChange>& changes, std::ostream& out);

// One footprint check from request to result: find the footprint's drawing on the project's
// footprint search path (in the folder asked for, when one is) and check it as the layout
// editor does for a verify file, each fault a finding. The check runs in this process, so
// there is no tool to start. UI thread (the footprint search is the suite's).
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "verify/VerifyResult.h"

struct FootprintRequest {
  std::string project;   // the project file
  std::string name;      // the footprint, without ".dra"
  std::string location;  // the folder of the search path to take it from; "" for the first
};

// One result: the check's, or one without a verdict that says why there is none. Notes on
// the search path and the faults found go to progress, a line each.
std::vector<VerifyResult> RunFootprint(const FootprintRequest& request, std::ostream& progress);

// One template check from request to results, shared by the dialog and the headless verb:
// read the template once, check each part against it with the suite's template engine and
// turn its differences into findings. The engine runs in this process, so there is no tool to
// start. Nothing the engine throws escapes: a part it cannot check is a result without a
// verdict that says why. UI thread (the engine is not thread-safe).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "verify/VerifyResult.h"

class BMesgList;

struct TemplateRequest {
  std::string libraryList;  // the project's qvd.lib or refqvd.lib
  std::string library;
  std::string cell;                // the part the user named; "" for the whole library
  std::vector<std::string> cells;  // the parts to check, in order
  std::string templateFile;
  unsigned aspects = 7;  // AppPartCheck bits: 1 property values, 2 pin loads, 4 symbol information
};

// What a run tells as it goes; either may be left empty.
struct TemplateProgress {
  // Each part's progress line and then its differences, one line each (the verb writes them
  // to standard error).
  std::function<void(const std::string& line)> say;
  // Receives every difference as the engine wrote it (the dialog's report shows them).
  BMesgList* differences = nullptr;
};

// One result per part checked; one result without a verdict when the template cannot be read
// or there is no part to check.
std::vector<VerifyResult> RunTemplate(const TemplateRequest& request,
                                      const TemplateProgress& progress = {});

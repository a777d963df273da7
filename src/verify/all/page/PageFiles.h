// The report page with its logs: each result's log copied into a folder beside the page
// ("<page name>_logs", made anew), so that the page and its folder can be moved or archived
// together, and the page written with a link per cell. Standard C++ only.
#pragma once

#include <string>
#include <vector>

#include "verify/all/page/ReportPage.h"

struct PageRequest {
  std::string file;                    // the page
  std::string title;                   // the project
  std::vector<std::string> flows;      // the columns
  std::vector<VerifyResult> results;   // the cells
  std::vector<bool> reused;            // per result: a verdict of an earlier run (or empty)
  std::vector<VerifyResult> previous;  // the previous run over the same parts (or empty)
  bool hasPrevious = false;
};

// Writes the page and its log folder; false with the reason in error. A log that cannot be
// copied leaves its cell without a link and is named in warnings. The request's results
// become the page's cells (moved, not copied: a run over thousands of parts holds them once).
bool WritePageWithLogs(PageRequest request, std::vector<std::string>& warnings, std::string& error);

// Whether report merge may publish the log a results file names: "" when the log (links
// resolved) lies below the results' own folders, the job list's FILE.d/ when the results file
// is one of FILE.d/results/, or a run's verify-all/logs/; else why it is left out. A results
// file is data anybody may have written: it must not publish /etc/shadow beside a page.
std::string MergedLogProblem(const std::string& log, const std::string& resultsFile);

// Now as "2026-12-08 23:40:12 UTC".
std::string NowText();

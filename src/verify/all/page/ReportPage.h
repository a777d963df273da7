// The report page of a run over many parts: one self-contained HTML file (no network, no
// external script or style) with the matrix of parts against flows, each cell the verdict as
// colour and word and a link to its log, counts per flow and per library, a filter box,
// sorting by any column and the changes since the previous run, new failures first. A part's
// row opens (click or Enter) to its findings per flow; the findings can be filtered by rule
// and severity and are counted per rule; waived findings are shown greyed with their reason.
// Every name is escaped. The matrix and the findings are embedded packed (PackedText.h) and
// unpacked by the page's script, the findings block by block as rows open. Standard C++ only.
#pragma once

#include <string>
#include <vector>

#include "verify/VerifyResult.h"
#include "verify/all/history/FindingChanges.h"
#include "verify/all/page/RunChanges.h"

struct PageCell {
  VerifyResult result;
  std::string logLink;  // relative to the page; "" when there is no log
  bool reused = false;  // the verdict of an earlier run, the part being unchanged
};

struct ReportPageData {
  std::string title;               // the project
  std::string generated;           // when, as text
  std::vector<std::string> flows;  // the columns
  std::vector<PageCell> cells;     // any order; rows are library and part
  std::vector<VerdictChange> changes;
  std::vector<FindingChange> findingChanges;  // new and fixed findings since the previous run
  bool hasPrevious = false;                   // whether there was a run to compare with
};

// Writes the page beside the file and renames it into place (base/ReplaceFile.h); false with
// the reason ("cannot write FILE: reason") in error.
bool WriteReportPage(const ReportPageData& data, const std::string& file, std::string& error);

// text with &, <, >, " and ' escaped, control characters and broken UTF-8 made printable.
std::string HtmlText(const std::string& text);

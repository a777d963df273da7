// Waivers: findings a librarian has accepted, each with a reason, an author and a date, kept in
// a plain text file that is reviewed like code. A waived finding is still shown (with its
// reason) but no longer counts toward the verdict; a part whose every failing or warning
// finding is waived is "passed (waived)". The file holds one waiver a line:
//
//   rule=prop_present lib=standard part=74* object=PART_NAME author=ana date=2026-12-10
//       expires=2027-06-30 reason=Legacy part: the catalogue name lives in the symbol
//
// (on one line). rule, lib, part and object take the wildcards * and ?; object and expires are
// optional; reason runs to the end of the line. Standard C++ only; value types, any thread.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "verify/VerifyResult.h"

struct Waiver {
  std::string rule;
  std::string library;
  std::string part;
  std::string object;  // "" for any object
  std::string author;
  std::string date;     // YYYY-MM-DD
  std::string expires;  // YYYY-MM-DD, "" for never
  std::string reason;
  std::string file;  // where it was read, for messages
  long line = 0;
};

// Whether text matches pattern, where * stands for any run of characters and ? for one.
bool WaiverPatternMatch(std::string_view pattern, std::string_view text);

// The waivers of text read from file, or nullopt with "FILE:LINE: why" in error. Empty lines
// and lines that begin with # are notes.
std::optional<std::vector<Waiver>> ParseWaivers(const std::string& text, const std::string& file,
                                                std::string& error);

// The waiver as one line of a waiver file (without the line end); "" with the reason in error
// when a field cannot be written on one line (white space in a name, a line break anywhere).
std::string WaiverLine(const Waiver& waiver, std::string& error);

// Whether date is a calendar date written YYYY-MM-DD.
bool IsWaiverDate(std::string_view date);

// Today's local date as YYYY-MM-DD.
std::string TodayDate();

// What applying waivers to a run found out about the waivers themselves, as texts that name
// each one by file and line.
struct WaiverNotes {
  std::vector<std::string> stale;    // in the run's scope, matched no finding
  std::vector<std::string> expired;  // past their expiry: no longer waive
};

// Marks each finding of results that an unexpired waiver matches (rule, library, part: the
// finding's part or else the result's cell, object) and recomputes the verdicts: a failed
// result whose error findings are all waived passes, with warnings when unwaived warnings
// remain; a result that passed with warnings whose warnings are all waived passes; either is
// then marked waived. Unknown results, results not run and results whose findings were cut
// short are left as they are. today is YYYY-MM-DD; expires names the last day a waiver holds.
// A waiver is stale when it matched nothing though its library and part were in the run.
WaiverNotes ApplyWaivers(std::vector<VerifyResult>& results, const std::vector<Waiver>& waivers,
                         const std::string& today);

// The options every verify verb shares about findings: -waivers FILE (findings accepted with a
// reason), -fail-on error|warning|fatal (which findings fail a CI gate) and -min-severity
// (findings below it are left out of the output). Standard C++ only; one thread.
#pragma once

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "verify/VerifyResult.h"
#include "verify/Waivers.h"

struct FindingOptions {
  std::string waiverFile;               // -waivers; "" for the project's, or none
  std::optional<Severity> failOn;       // -fail-on; none for the verdict's own status
  std::optional<Severity> minSeverity;  // -min-severity
  std::vector<Waiver> waivers;          // read by LoadWaivers
};

// One line per option, for a verb's usage.
inline constexpr const char* kFindingOptionsUsage =
    "  -waivers FILE: accepted findings (else the project's verify_waivers); -fail-on\n"
    "  error|warning|fatal: exit 1 only for findings that bad; -min-severity LEVEL: leave\n"
    "  lesser findings out of the output\n";

// Takes the three options out of words (the word after an option in valued is its value,
// never taken); the rest stay in order. false with the reason in error for a missing or bad
// value.
bool TakeFindingOptions(std::vector<std::string>& words, std::span<const std::string_view> valued,
                        FindingOptions& options, std::string& error);

// Reads the waiver file (options.waiverFile, else the one projectFile names) into
// options.waivers; false with "FILE:LINE: why" in error. No file named is no waivers.
bool LoadWaivers(FindingOptions& options, const std::string& projectFile, std::string& error);

// Applies the waivers to results and writes what they say about themselves (stale, expired) to
// err as warnings after prefix; stale ones only when reportStale.
void WaiveFindings(std::vector<VerifyResult>& results, const FindingOptions& options,
                   bool reportStale, const std::string& prefix, std::ostream& err);

// The exit status of results under -fail-on: without it the worst verdict's; with it 2 for a
// result of unknown verdict (or none run), 1 when a finding that counts (not waived) is at
// least as bad as failOn, or the verdict is (failed for error and warning, passed with
// warnings for warning), else 0.
int GateStatus(const std::vector<VerifyResult>& results, const FindingOptions& options);

// Leaves out of results the findings below -min-severity.
void DropLesserFindings(std::vector<VerifyResult>& results, const FindingOptions& options);

// What every verb does with a run's results: waives (WaiveFindings), takes the exit status
// (GateStatus), then leaves out the lesser findings, in that order so that -min-severity never
// hides a finding from -fail-on. Returns the exit status.
int JudgeFindings(std::vector<VerifyResult>& results, const FindingOptions& options,
                  bool reportStale, const std::string& prefix, std::ostream& err);

// An earlier run's results judged as this run's are, for the changes since: waived (silently)
// and without the lesser findings.
void JudgeEarlierFindings(std::vector<VerifyResult>& previous, const FindingOptions& options);

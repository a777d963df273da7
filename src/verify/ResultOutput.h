// The headless verb's three outputs of a run's results, alike for every flow:
// text (one line per result), JSON (one record, or the records under "parts" when a run
// covers several parts) and JUnit XML (one test case per result). Bytes that are not UTF-8
// are replaced, so that a strange part name never breaks a reader. Standard C++ only.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/PrintableText.h"
#include "verify/VerifyResult.h"

// The version of the -json records: 2 added "schema", "duration", "finding_records",
// "findings_truncated" and the verdict "not run", and kept every key of the first.
inline constexpr int kResultsSchemaVersion = 2;
// The verdict word of a result that was not run (it counts towards no worst verdict).
inline constexpr const char* kNotRunVerdict = "not run";

// The verdict word of a result that passed because its findings are waived.
inline constexpr const char* kWaivedVerdict = "passed (waived)";

// The verdict word of a result as every output gives it: "not run", "passed (waived)" or the
// verdict's name.
const char* ResultVerdictName(const VerifyResult& result);

// The worst verdict of the results; Unknown when there are none.
Verdict WorstVerdict(const std::vector<VerifyResult>& results);

// One line per result: its message, preceded by "<cell>: " when the run covers several
// parts; nothing for a result whose message is only its cause. Control characters are escaped so
// that names cannot drive the terminal.
void WriteResultsText(const std::vector<VerifyResult>& results, std::ostream& out);

// extraMembers: a JSON object's text whose members join "parts" and the others when the
// results are not one alone (which is written as its record).
void WriteResultsJson(const std::vector<VerifyResult>& results, std::ostream& out,
                      std::string_view extraMembers = {});

// The members of a finding that a compact record names once, as "findings_file" and
// "findings_part", when all its findings have the same one (and then name none).
inline constexpr std::pair<const char*, std::string Finding::*> kSharedFindingMembers[] = {
    {"file", &Finding::file}, {"part", &Finding::part}};

// The record of one result on one line, as -json writes it less what the typed findings
// repeat (the message-only "findings" list, the file and part they share) and "schema", with
// log as its log ("" for none): for the run's history, which reads it back as a -json record.
std::string CompactResultRecord(const VerifyResult& result, const std::string& log);

// A JUnit file: one suite per flow, one test case per result (classname "<flow>.<library>",
// name the cell or the library, time its duration); failed gives <failure>, unknown <error>,
// both with the first finding (else the message) as message and every finding and the log
// path as text; not run gives <skipped> with its cause. Written beside and renamed into place
// (base/ReplaceFile.h); false with error (when given: "cannot write FILE: reason") when the file
// cannot be written.
bool WriteResultsJUnit(const std::vector<VerifyResult>& results, const std::string& file,
                       std::string* error = nullptr);

#include "verify/ResultOutput.h"

#include <algorithm>
#include <iomanip>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/PrintableText.h"
#include "base/ReplaceFile.h"
#include "verify/JsonArrayStream.h"

namespace {

// XML 1.0 cannot carry most control characters at all, not even as references.
std::string XmlText(const std::string& text) { return MarkupText(text, true); }

nlohmann::json FindingJson(const Finding& finding) {
  nlohmann::json record = {{"rule", finding.rule},
                           {"severity", SeverityName(finding.severity)},
                           {"part", finding.part},
                           {"message", finding.message}};
  if (!finding.object.empty()) record["object"] = finding.object;
  if (!finding.file.empty()) record["file"] = finding.file;
  if (finding.line > 0) record["line"] = finding.line;
  if (!finding.waived.empty()) record["waived"] = finding.waived;
  return record;
}

nlohmann::json RecordJson(const VerifyResult& result) {
  nlohmann::json record = {
      {"flow", result.flow},         {"library", result.library},
      {"cell", result.cell},         {"verdict", ResultVerdictName(result)},
      {"message", result.message},   {"log", result.log},
      {"duration", result.duration},
  };
  record["counts"] = nlohmann::json::object();
  for (const auto& [name, value] : result.counts) {
    record["counts"][name] = value ? nlohmann::json(*value) : nlohmann::json(nullptr);
  }
  if (!result.findings.empty()) {
    // "findings" keeps the messages alone, as readers of the first schema expect them.
    record["findings"] = nlohmann::json::array();
    record["finding_records"] = nlohmann::json::array();
    for (const Finding& finding : result.findings) {
      record["findings"].push_back(finding.message);
      record["finding_records"].push_back(FindingJson(finding));
    }
  }
  if (result.findingsTruncated) record["findings_truncated"] = true;
  if (!result.cause.empty()) record["cause"] = result.cause;
  if (result.notRun) record["skipped"] = true;
  return record;
}

// The verdict of several results: "not run" when none of them ran.
const char* RunVerdictName(const std::vector<VerifyResult>& results) {
  const bool anyRun = std::any_of(results.begin(), results.end(),
                                  [](const VerifyResult& result) { return !result.notRun; });
  return !results.empty() && !anyRun ? kNotRunVerdict : VerdictName(WorstVerdict(results));
}

// Seconds with millisecond precision, as JUnit readers take them.
std::string Seconds(double seconds) {
  std::ostringstream text;
  text << std::fixed << std::setprecision(3) << (seconds > 0 ? seconds : 0.0);
  return text.str();
}

// The finding that says best why a part failed: the first error or fatal one, else the first.
const Finding* FirstFinding(const std::vector<Finding>& findings) {
  const auto error = std::find_if(findings.begin(), findings.end(),
                                  [](const Finding& f) { return f.severity >= Severity::Error; });
  if (error != findings.end()) return &*error;
  return findings.empty() ? nullptr : &findings.front();
}

// The waived findings of result, one a line with the waiver's reason, after text.
void WaivedText(const VerifyResult& result, std::string& text) {
  for (const Finding& finding : result.findings) {
    if (!finding.waived.empty())
      text += "\nwaived: " + (finding.part.empty() ? "" : finding.part + ": ") +
              FindingText(finding) + ": " + finding.waived;
  }
}

// A failing case's <failure> (its message the first finding, else the result's message) or
// an unknown case's <error> (the result's message, which says why); every finding and the log
// in its text.
void WriteProblem(const VerifyResult& result, const std::string& detail, std::ostream& out) {
  const bool failed = result.verdict == Verdict::Failed;
  const char* element = failed ? "failure" : "error";
  const Finding* first = failed ? FirstFinding(result.findings) : nullptr;
  const std::string message = first ? FindingText(*first) : result.message;
  std::string text;
  for (const Finding& finding : result.findings) {
    text += (finding.part.empty() ? "" : finding.part + ": ") + FindingText(finding) + "\n";
  }
  if (result.findingsTruncated) text += "(more findings left out)\n";
  text += detail;
  WaivedText(result, text);
  out << "      <" << element << " type=\"" << VerdictName(result.verdict) << "\" message=\""
      << XmlText(message) << "\">" << XmlText(text) << "</" << element << ">\n";
}

std::string CaseName(const VerifyResult& result) {
  return result.cell.empty() ? result.library : result.cell;
}

void WriteJUnit(const std::vector<VerifyResult>& results, std::ostream& out) {
  struct Suite {
    std::vector<const VerifyResult*> cases;
    int failures = 0;
    int errors = 0;
    int skipped = 0;
  };
  // One suite per flow, in the order the flows first appear.
  std::vector<std::string> order;
  std::map<std::string, Suite> suites;
  int failures = 0;
  int errors = 0;
  for (const VerifyResult& result : results) {
    if (suites.count(result.flow) == 0) order.push_back(result.flow);
    Suite& suite = suites[result.flow];
    suite.cases.push_back(&result);
    if (result.notRun) {
      ++suite.skipped;
    } else {
      suite.failures += result.verdict == Verdict::Failed;
      suite.errors += result.verdict == Verdict::Unknown;
    }
  }
  for (const auto& [flow, suite] : suites) {
    failures += suite.failures;
    errors += suite.errors;
  }
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<testsuites name=\"kestra verify\" tests=\"" << results.size() << "\" failures=\""
      << failures << "\" errors=\"" << errors << "\">\n";
  if (results.empty()) order.push_back("verify");
  for (const std::string& flow : order) {
    const Suite& suite = suites[flow];
    double suiteSeconds = 0;
    for (const VerifyResult* result : suite.cases) suiteSeconds += result->duration;
    out << "  <testsuite name=\"" << XmlText(flow) << "\" tests=\"" << suite.cases.size()
        << "\" failures=\"" << suite.failures << "\" errors=\"" << suite.errors << "\" skipped=\""
        << suite.skipped << "\" time=\"" << Seconds(suiteSeconds) << "\">\n";
    for (const VerifyResult* result : suite.cases) {
      out << "    <testcase classname=\"" << XmlText(result->flow + "." + result->library)
          << "\" name=\"" << XmlText(CaseName(*result)) << "\" time=\"" << Seconds(result->duration)
          << "\">\n";
      const std::string detail = result->log.empty() ? result->cause : "log: " + result->log;
      if (result->notRun) {
        // A case that did not run states its cause once.
        out << "      <skipped message=\"" << XmlText(result->cause) << "\"/>\n"
            << "    </testcase>\n";
        continue;
      }
      if (result->verdict == Verdict::Failed || result->verdict == Verdict::Unknown)
        WriteProblem(*result, detail, out);
      // A case that passed by waivers says so, and which findings were waived and why.
      if (result->waived)
        out << "      <properties><property name=\"verdict\" value=\"" << kWaivedVerdict
            << "\"/></properties>\n";
      std::string said = result->message + "\n" + detail;
      if (result->verdict != Verdict::Failed && result->verdict != Verdict::Unknown)
        WaivedText(*result, said);
      out << "      <system-out>" << XmlText(said) << "</system-out>\n"
          << "    </testcase>\n";
    }
    out << "  </testsuite>\n";
  }
  out << "</testsuites>\n";
}

}  // namespace

const char* ResultVerdictName(const VerifyResult& result) {
  if (result.notRun) return kNotRunVerdict;
  return result.waived ? kWaivedVerdict : VerdictName(result.verdict);
}

Verdict WorstVerdict(const std::vector<VerifyResult>& results) {
  bool any = false;
  Verdict worst = Verdict::Passed;
  for (const VerifyResult& result : results) {
    if (result.notRun) continue;
    any = true;
    worst = WorseVerdict(worst, result.verdict);
  }
  return any ? worst : Verdict::Unknown;
}

void WriteResultsText(const std::vector<VerifyResult>& results, std::ostream& out) {
  for (const VerifyResult& result : results) {
    // A run that gave no verdict has said why on standard error already.
    if (result.message.empty() || result.message == result.cause) continue;
    if (results.size() > 1) out << PrintableText(CaseName(result)) << ": ";
    out << PrintableText(result.message) << "\n";
  }
}

void WriteResultsJson(const std::vector<VerifyResult>& results, std::ostream& out,
                      std::string_view extraMembers) {
  constexpr int kIndent = 2;
  const auto dump = [](const nlohmann::json& json) {
    return json.dump(kIndent, ' ', false, nlohmann::json::error_handler_t::replace);
  };
  if (results.size() == 1) {
    nlohmann::json json = RecordJson(results.front());
    json["schema"] = kResultsSchemaVersion;
    out << dump(json) << "\n";
    return;
  }
  // A run of several flows (kestra verify all) names none of them.
  const bool oneFlow = std::all_of(results.begin(), results.end(), [&](const VerifyResult& r) {
    return r.flow == results.front().flow;
  });
  nlohmann::json json = nlohmann::json::parse(extraMembers.empty() ? "{}" : extraMembers);
  json.update({{"flow", results.empty() ? ""
                        : oneFlow       ? results.front().flow
                                        : "all"},
               {"schema", kResultsSchemaVersion},
               {"library", results.empty() ? "" : results.front().library},
               {"verdict", RunVerdictName(results)},
               {"parts", nlohmann::json::array()}});
  // The records one at a time: thousands of parts are never one tree.
  WriteJsonWithArray(
      dump(json), "parts", kIndent, results.size(),
      [&](std::size_t i) { return dump(RecordJson(results[i])); }, out);
  out << "\n";
}

std::string CompactResultRecord(const VerifyResult& result, const std::string& log) {
  nlohmann::json record = RecordJson(result);
  record.erase("findings");
  // The findings of one report mostly name the same file and part: named once for them all.
  for (const auto& shared : kSharedFindingMembers) {
    const auto& [member, of] = shared;
    if (result.findings.empty() || (result.findings.front().*of).empty()) continue;
    const std::string& first = result.findings.front().*of;
    if (!std::all_of(result.findings.begin(), result.findings.end(),
                     [&](const Finding& finding) { return finding.*shared.second == first; }))
      continue;
    record[std::string("findings_") + member] = first;
    for (auto& finding : record["finding_records"]) finding.erase(member);
  }
  if (log.empty()) {
    record.erase("log");
  } else {
    record["log"] = log;
  }
  return record.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

bool WriteResultsJUnit(const std::vector<VerifyResult>& results, const std::string& file,
                       std::string* error) {
  // Written as it is made: the text of thousands of cases is never held whole.
  return ReplaceFileFromStream(
      file, [&](std::ostream& out) { WriteJUnit(results, out); }, error);
}

#include "verify/ResultOutput.h"

#include <algorithm>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/PrintableText.h"
#include "base/ReplaceFile.h"

namespace {

// XML 1.0 cannot carry most control characters at all, not even as references.
std::string XmlText(const std::string& text) { return MarkupText(text, true); }

nlohmann::json RecordJson(const VerifyResult& result) {
  nlohmann::json record = {
      {"flow", result.flow},       {"library", result.library},
      {"cell", result.cell},       {"verdict", VerdictName(result.verdict)},
      {"message", result.message}, {"log", result.log},
  };
  record["counts"] = nlohmann::json::object();
  for (const auto& [name, value] : result.counts) {
    record["counts"][name] = value ? nlohmann::json(*value) : nlohmann::json(nullptr);
  }
  if (!result.findings.empty()) record["findings"] = result.findings;
  if (!result.cause.empty()) record["cause"] = result.cause;
  if (result.notRun) record["skipped"] = true;
  return record;
}

std::string CaseName(const VerifyResult& result) {
  return result.cell.empty() ? result.library : result.cell;
}

}  // namespace

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

void WriteResultsJson(const std::vector<VerifyResult>& results, std::ostream& out) {
  nlohmann::json json;
  if (results.size() == 1) {
    json = RecordJson(results.front());
  } else {
    // A run of several flows (kestra verify all) names none of them.
    const bool oneFlow = std::all_of(results.begin(), results.end(), [&](const VerifyResult& r) {
      return r.flow == results.front().flow;
    });
    json = {{"flow", results.empty() ? ""
                     : oneFlow       ? results.front().flow
                                     : "all"},
            {"library", results.empty() ? "" : results.front().library},
            {"verdict", VerdictName(WorstVerdict(results))},
            {"parts", nlohmann::json::array()}};
    for (const VerifyResult& result : results) json["parts"].push_back(RecordJson(result));
  }
  out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

bool WriteResultsJUnit(const std::vector<VerifyResult>& results, const std::string& file,
                       std::string* error) {
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
  std::ostringstream out;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<testsuites name=\"kestra verify\" tests=\"" << results.size() << "\" failures=\""
      << failures << "\" errors=\"" << errors << "\">\n";
  if (results.empty()) order.push_back("verify");
  for (const std::string& flow : order) {
    const Suite& suite = suites[flow];
    out << "  <testsuite name=\"" << XmlText(flow) << "\" tests=\"" << suite.cases.size()
        << "\" failures=\"" << suite.failures << "\" errors=\"" << suite.errors << "\" skipped=\""
        << suite.skipped << "\">\n";
    for (const VerifyResult* result : suite.cases) {
      out << "    <testcase classname=\"" << XmlText(result->flow + "." + result->library)
          << "\" name=\"" << XmlText(CaseName(*result)) << "\">\n";
      const std::string detail = result->log.empty() ? result->cause : "log: " + result->log;
      if (result->notRun) {
        out << "      <skipped message=\"" << XmlText(result->cause) << "\"/>\n";
      } else if (result->verdict == Verdict::Failed || result->verdict == Verdict::Unknown) {
        const char* element = result->verdict == Verdict::Failed ? "failure" : "error";
        out << "      <" << element << " type=\"" << VerdictName(result->verdict) << "\" message=\""
            << XmlText(result->message) << "\">" << XmlText(detail) << "</" << element << ">\n";
      }
      out << "      <system-out>" << XmlText(result->message + "\n" + detail) << "</system-out>\n"
          << "    </testcase>\n";
    }
    out << "  </testsuite>\n";
  }
  out << "</testsuites>\n";
  return ReplaceFileContent(file, out.str(), error);
}

#include "verify/ResultOutput.h"

#include <fstream>
#include <nlohmann/json.hpp>

#include "base/PrintableText.h"

namespace {

std::string XmlText(const std::string& text) {
  // XML 1.0 cannot carry most control characters at all, not even as references.
  const std::string clean = PrintableText(text, true);
  std::string xml;
  xml.reserve(clean.size());
  for (char c : clean) {
    switch (c) {
      case '&':
        xml += "&amp;";
        break;
      case '<':
        xml += "&lt;";
        break;
      case '>':
        xml += "&gt;";
        break;
      case '"':
        xml += "&quot;";
        break;
      default:
        xml += c;
    }
  }
  return xml;
}

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
  return record;
}

std::string CaseName(const VerifyResult& result) {
  return result.cell.empty() ? result.library : result.cell;
}

}  // namespace

Verdict WorstVerdict(const std::vector<VerifyResult>& results) {
  if (results.empty()) return Verdict::Unknown;
  Verdict worst = Verdict::Passed;
  for (const VerifyResult& result : results) worst = WorseVerdict(worst, result.verdict);
  return worst;
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
    json = {{"flow", results.empty() ? "" : results.front().flow},
            {"library", results.empty() ? "" : results.front().library},
            {"verdict", VerdictName(WorstVerdict(results))},
            {"parts", nlohmann::json::array()}};
    for (const VerifyResult& result : results) json["parts"].push_back(RecordJson(result));
  }
  out << json.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

bool WriteResultsJUnit(const std::vector<VerifyResult>& results, const std::string& file) {
  int failures = 0;
  int errors = 0;
  for (const VerifyResult& result : results) {
    failures += result.verdict == Verdict::Failed;
    errors += result.verdict == Verdict::Unknown;
  }
  const std::string flow = results.empty() ? "verify" : results.front().flow;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<testsuites name=\"kestra verify\" tests=\"" << results.size() << "\" failures=\""
      << failures << "\" errors=\"" << errors << "\">\n"
      << "  <testsuite name=\"" << XmlText(flow) << "\" tests=\"" << results.size()
      << "\" failures=\"" << failures << "\" errors=\"" << errors << "\" skipped=\"0\">\n";
  for (const VerifyResult& result : results) {
    out << "    <testcase classname=\"" << XmlText(result.flow + "." + result.library)
        << "\" name=\"" << XmlText(CaseName(result)) << "\">\n";
    const std::string detail = result.log.empty() ? result.cause : "log: " + result.log;
    if (result.verdict == Verdict::Failed || result.verdict == Verdict::Unknown) {
      const char* element = result.verdict == Verdict::Failed ? "failure" : "error";
      out << "      <" << element << " type=\"" << VerdictName(result.verdict) << "\" message=\""
          << XmlText(result.message) << "\">" << XmlText(detail) << "</" << element << ">\n";
    }
    out << "      <system-out>" << XmlText(result.message + "\n" + detail) << "</system-out>\n"
        << "    </testcase>\n";
  }
  out << "  </testsuite>\n</testsuites>\n";
  out.flush();
  return static_cast<bool>(out);
}

#include "verify/ResultOutput.h"

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

namespace {

// The length of the valid UTF-8 sequence at text[i], or 0 when it is not one.
std::size_t Utf8Length(const std::string& text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned min = 0;
  unsigned code = 0;
  if (lead < 0x80) return 1;
  if ((lead & 0xE0) == 0xC0) {
    length = 2, min = 0x80, code = lead & 0x1F;
  } else if ((lead & 0xF0) == 0xE0) {
    length = 3, min = 0x800, code = lead & 0x0F;
  } else if ((lead & 0xF8) == 0xF0) {
    length = 4, min = 0x10000, code = lead & 0x07;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  for (std::size_t k = 1; k < length; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(i + k) & 0x3F);
  }
  if (code < min || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

// Valid UTF-8 with each invalid byte replaced by U+FFFD; control characters (other than
// tab and line feed when keepLines) given to escape() instead.
template <typename Escape>
std::string CleanText(const std::string& text, bool keepLines, Escape escape) {
  std::string clean;
  clean.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = Utf8Length(text, i);
    if (length == 0) {
      clean += "\xEF\xBF\xBD";
      ++i;
      continue;
    }
    const auto c = static_cast<unsigned char>(text[i]);
    if (length == 1 && (c < 0x20 || c == 0x7F) && !(keepLines && (c == '\n' || c == '\t'))) {
      clean += escape(c);
    } else {
      clean.append(text, i, length);
    }
    i += length;
  }
  return clean;
}

std::string HexEscape(unsigned char c) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\x%02x", c);
  return buffer;
}

std::string XmlText(const std::string& text) {
  // XML 1.0 cannot carry most control characters at all, not even as references.
  const std::string clean = CleanText(text, true, HexEscape);
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

std::string PrintableText(const std::string& text) { return CleanText(text, false, HexEscape); }

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

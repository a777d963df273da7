#include "verify/all/jobs/ResultFile.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <sstream>

#include "base/ReplaceFile.h"
#include "verify/ResultOutput.h"

namespace {

// The rule of a finding read from a record of the first schema, which kept messages only.
constexpr const char* kFirstSchemaRule = "finding";

std::optional<Verdict> VerdictOfName(const std::string& name) {
  for (Verdict verdict :
       {Verdict::Passed, Verdict::Failed, Verdict::Unknown, Verdict::PassedWithWarnings}) {
    if (name == VerdictName(verdict)) return verdict;
  }
  return std::nullopt;
}

std::string Text(const nlohmann::json& record, const char* key) {
  const auto found = record.find(key);
  return found != record.end() && found->is_string() ? found->get<std::string>() : "";
}

Finding FindingOf(const nlohmann::json& record) {
  Finding finding;
  finding.rule = Text(record, "rule");
  finding.severity = SeverityOfWord(Text(record, "severity")).value_or(Severity::Error);
  finding.part = Text(record, "part");
  finding.object = Text(record, "object");
  finding.message = Text(record, "message");
  finding.file = Text(record, "file");
  if (const auto line = record.find("line"); line != record.end() && line->is_number_integer())
    finding.line = std::max(0L, line->get<long>());
  finding.waived = Text(record, "waived");
  return finding;
}

// The typed findings; a record of the first schema has their messages alone.
void ReadFindings(const nlohmann::json& record, VerifyResult& result) {
  const auto truncated = record.find("findings_truncated");
  result.findingsTruncated =
      truncated != record.end() && truncated->is_boolean() && truncated->get<bool>();
  if (const auto typed = record.find("finding_records");
      typed != record.end() && typed->is_array()) {
    // What a compact record names once for all its findings, read once for them all.
    constexpr std::size_t kShared = std::size(kSharedFindingMembers);
    std::array<std::string, kShared> shared;
    for (std::size_t i = 0; i < kShared; ++i)
      shared[i] = Text(record, ("findings_" + std::string(kSharedFindingMembers[i].first)).c_str());
    for (const auto& one : *typed) {
      if (!one.is_object()) continue;
      Finding finding = FindingOf(one);
      for (std::size_t i = 0; i < kShared; ++i) {
        std::string& value = finding.*kSharedFindingMembers[i].second;
        if (value.empty()) value = shared[i];
      }
      AddFinding(result, std::move(finding));
    }
    return;
  }
  if (const auto findings = record.find("findings");
      findings != record.end() && findings->is_array()) {
    for (const auto& line : *findings) {
      if (!line.is_string()) continue;
      Finding finding;
      finding.rule = kFirstSchemaRule;
      finding.part = result.cell;
      finding.message = line.get<std::string>();
      AddFinding(result, std::move(finding));
    }
  }
}

std::optional<VerifyResult> RecordOf(const nlohmann::json& record, std::string& error) {
  if (!record.is_object() || !record.contains("flow") || !record.contains("verdict")) {
    error = "a record without flow or verdict";
    return std::nullopt;
  }
  VerifyResult result;
  result.flow = Text(record, "flow");
  result.library = Text(record, "library");
  result.cell = Text(record, "cell");
  const bool notRunVerdict = Text(record, "verdict") == kNotRunVerdict;
  result.waived = Text(record, "verdict") == kWaivedVerdict;
  const auto verdict = notRunVerdict   ? std::optional<Verdict>(Verdict::Unknown)
                       : result.waived ? std::optional<Verdict>(Verdict::Passed)
                                       : VerdictOfName(Text(record, "verdict"));
  if (!verdict) {
    error = "unknown verdict \"" + Text(record, "verdict") + "\"";
    return std::nullopt;
  }
  result.verdict = *verdict;
  result.message = Text(record, "message");
  result.log = Text(record, "log");
  result.cause = Text(record, "cause");
  const auto skipped = record.find("skipped");
  result.notRun =
      notRunVerdict || (skipped != record.end() && skipped->is_boolean() && skipped->get<bool>());
  if (const auto duration = record.find("duration");
      duration != record.end() && duration->is_number() && duration->get<double>() >= 0)
    result.duration = duration->get<double>();
  if (const auto counts = record.find("counts"); counts != record.end() && counts->is_object()) {
    for (const auto& [name, value] : counts->items()) {
      result.counts.emplace_back(
          name, value.is_number_integer() ? std::optional<long>(value.get<long>()) : std::nullopt);
    }
  }
  ReadFindings(record, result);
  return result;
}

std::optional<std::vector<VerifyResult>> RecordsOf(const nlohmann::json& json, std::string& error) {
  std::vector<VerifyResult> results;
  const auto parts = json.is_object() ? json.find("parts") : json.end();
  if (parts != json.end() && !parts->is_array()) {
    error = "\"parts\" is not a list";
    return std::nullopt;
  }
  const auto record = [&](const nlohmann::json& one) {
    auto result = RecordOf(one, error);
    if (result) results.push_back(std::move(*result));
    return result.has_value();
  };
  if (parts == json.end()) {
    if (!record(json)) return std::nullopt;
    return results;
  }
  for (const nlohmann::json& one : *parts) {
    if (!record(one)) return std::nullopt;
  }
  return results;
}

}  // namespace

int JsonNestingDepth(std::string_view text) {
  int depth = 0;
  int deepest = 0;
  bool inString = false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (inString) {
      if (c == '\\') {
        ++i;
      } else if (c == '"') {
        inString = false;
      }
    } else if (c == '"') {
      inString = true;
    } else if (c == '[' || c == '{') {
      deepest = std::max(deepest, ++depth);
    } else if (c == ']' || c == '}') {
      --depth;
    }
  }
  return deepest;
}

std::optional<std::vector<VerifyResult>> ParseResultsJson(const std::string& text,
                                                          std::string& error) {
  // Results nest three levels; a deeper text is no result, and taking it apart could
  // exhaust the stack.
  if (JsonNestingDepth(text) > kResultsNestingLimit) {
    error = "nested deeper than " + std::to_string(kResultsNestingLimit) + " levels";
    return std::nullopt;
  }
  const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
  if (json.is_discarded()) {
    error = text.empty() ? "empty" : "not JSON";
    return std::nullopt;
  }
  try {
    return RecordsOf(json, error);
  } catch (const nlohmann::json::exception& problem) {
    error = std::string("not a result: ") + problem.what();
    return std::nullopt;
  }
}

std::optional<std::vector<VerifyResult>> ReadResultsJson(const std::string& file,
                                                         std::string& error) {
  std::string text;
  if (!ReadRegularFile(file, text, &error)) return std::nullopt;
  return ParseResultsJson(text, error);
}

std::optional<VerifyResult> ResultOfRecord(const nlohmann::json& record, std::string& error) {
  try {
    return RecordOf(record, error);
  } catch (const nlohmann::json::exception& problem) {
    error = std::string("not a result: ") + problem.what();
    return std::nullopt;
  }
}

std::string ResultRecordJson(const VerifyResult& result) {
  std::ostringstream out;
  WriteResultsJson({result}, out);
  return out.str();
}

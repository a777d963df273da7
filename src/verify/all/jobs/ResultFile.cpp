#include "verify/all/jobs/ResultFile.h"

#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "verify/ResultOutput.h"

namespace {

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

std::optional<VerifyResult> RecordOf(const nlohmann::json& record, std::string& error) {
  if (!record.is_object() || !record.contains("flow") || !record.contains("verdict")) {
    error = "a record without flow or verdict";
    return std::nullopt;
  }
  VerifyResult result;
  result.flow = Text(record, "flow");
  result.library = Text(record, "library");
  result.cell = Text(record, "cell");
  const auto verdict = VerdictOfName(Text(record, "verdict"));
  if (!verdict) {
    error = "unknown verdict \"" + Text(record, "verdict") + "\"";
    return std::nullopt;
  }
  result.verdict = *verdict;
  result.message = Text(record, "message");
  result.log = Text(record, "log");
  result.cause = Text(record, "cause");
  result.notRun = record.value("skipped", false);
  if (const auto counts = record.find("counts"); counts != record.end() && counts->is_object()) {
    for (const auto& [name, value] : counts->items()) {
      result.counts.emplace_back(
          name, value.is_number_integer() ? std::optional<long>(value.get<long>()) : std::nullopt);
    }
  }
  if (const auto findings = record.find("findings");
      findings != record.end() && findings->is_array()) {
    for (const auto& line : *findings) {
      if (line.is_string()) result.findings.push_back(line.get<std::string>());
    }
  }
  return result;
}

}  // namespace

std::optional<std::vector<VerifyResult>> ParseResultsJson(const std::string& text,
                                                          std::string& error) {
  const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
  if (json.is_discarded()) {
    error = text.empty() ? "empty" : "not JSON";
    return std::nullopt;
  }
  std::vector<VerifyResult> results;
  const bool several = json.is_object() && json.contains("parts");
  const nlohmann::json records = several ? json["parts"] : nlohmann::json::array({json});
  if (!records.is_array()) {
    error = "\"parts\" is not a list";
    return std::nullopt;
  }
  for (const nlohmann::json& record : records) {
    auto result = RecordOf(record, error);
    if (!result) return std::nullopt;
    results.push_back(std::move(*result));
  }
  return results;
}

std::optional<std::vector<VerifyResult>> ReadResultsJson(const std::string& file,
                                                         std::string& error) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    error = "cannot be read";
    return std::nullopt;
  }
  std::ostringstream text;
  text << in.rdbuf();
  return ParseResultsJson(text.str(), error);
}

std::string ResultRecordJson(const VerifyResult& result) {
  std::ostringstream out;
  WriteResultsJson({result}, out);
  return out.str();
}

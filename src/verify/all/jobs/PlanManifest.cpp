#include "verify/all/jobs/PlanManifest.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <random>

#include "base/ReplaceFile.h"
#include "verify/all/jobs/ResultFile.h"

namespace {

constexpr int kManifestVersion = 1;

std::string Text(const nlohmann::json& record, const char* key) {
  const auto found = record.find(key);
  return found != record.end() && found->is_string() ? found->get<std::string>() : "";
}

}  // namespace

std::string ManifestFileOf(const std::string& resultsFolder) {
  return (std::filesystem::path(resultsFolder).parent_path() / "plan.json").string();
}

std::string NewPlanId() {
  std::random_device device;
  const auto now = std::chrono::system_clock::now().time_since_epoch().count();
  const unsigned long long mixed = (static_cast<unsigned long long>(device()) << 32 ^ device()) ^
                                   static_cast<unsigned long long>(now);
  char text[17] = {};
  std::snprintf(text, sizeof text, "%016llx", mixed);
  return text;
}

std::string PlanManifestJson(const PlanManifest& manifest) {
  nlohmann::json lines = nlohmann::json::array();
  for (const auto& line : manifest.lines) {
    nlohmann::json results = nlohmann::json::array();
    for (const PlannedResult& result : line) {
      results.push_back({{"file", result.file},
                         {"library", result.library},
                         {"cell", result.cell},
                         {"flow", result.flow}});
    }
    lines.push_back(std::move(results));
  }
  const nlohmann::json json = {{"kestra_plan", kManifestVersion},
                               {"id", manifest.id},
                               {"project", manifest.project},
                               {"plan", manifest.plan},
                               {"lines", std::move(lines)}};
  return json.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::optional<PlanManifest> ReadPlanManifest(const std::string& file, std::string& error) {
  std::string text;
  if (!ReadRegularFile(file, text, &error)) return std::nullopt;
  // A description nests four levels; a deeper text could exhaust the stack when parsed.
  const nlohmann::json json = JsonNestingDepth(text) > kResultsNestingLimit
                                  ? nlohmann::json(nlohmann::json::value_t::discarded)
                                  : nlohmann::json::parse(text, nullptr, false);
  const auto version = json.is_object() ? json.find("kestra_plan") : json.end();
  if (json.is_discarded() || version == json.end() || !version->is_number_integer() ||
      version->get<int>() != kManifestVersion || !json.contains("lines") ||
      !json["lines"].is_array()) {
    error = file + " is not a job list's description";
    return std::nullopt;
  }
  PlanManifest manifest;
  manifest.id = Text(json, "id");
  manifest.project = Text(json, "project");
  manifest.plan = Text(json, "plan");
  for (const auto& line : json["lines"]) {
    std::vector<PlannedResult> results;
    if (line.is_array()) {
      for (const auto& one : line) {
        if (!one.is_object()) continue;
        results.push_back(
            {Text(one, "file"), Text(one, "library"), Text(one, "cell"), Text(one, "flow")});
      }
    }
    manifest.lines.push_back(std::move(results));
  }
  return manifest;
}

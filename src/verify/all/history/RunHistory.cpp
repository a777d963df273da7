#include "verify/all/history/RunHistory.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "base/ReplaceFile.h"
#include "verify/all/jobs/ResultFile.h"

namespace {

constexpr int kVersion = 1;

}  // namespace

RunHistory RunHistory::Load(const std::string& file, std::string& warning) {
  std::error_code code;
  if (std::filesystem::symlink_status(file, code).type() == std::filesystem::file_type::not_found)
    return {};
  const auto damaged = [&](const std::string& why) {
    warning =
        "the history " + file + " is damaged and is ignored (" + why + "): every part is checked";
    return RunHistory();
  };
  std::string text;
  std::string error;
  if (!ReadRegularFile(file, text, &error)) return damaged(error);
  // Entries nest one level deeper than results.
  if (JsonNestingDepth(text) > kResultsNestingLimit + 2) return damaged("nested too deeply");
  const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
  if (json.is_discarded() || !json.is_object()) return damaged("not JSON");
  const auto version = json.find("version");
  const auto entries = json.find("entries");
  if (version == json.end() || !version->is_number_integer() ||
      version->get<long long>() != kVersion || entries == json.end() || !entries->is_array())
    return damaged("not a history of this version");
  RunHistory history;
  try {
    for (const nlohmann::json& entry : *entries) {
      const auto result = entry.is_object() && entry.contains("result")
                              ? ParseResultsJson(entry["result"].dump(), error)
                              : std::nullopt;
      const auto hash = entry.is_object() ? entry.find("hash") : entry.end();
      if (!result || result->size() != 1 || hash == entry.end() || !hash->is_string())
        return damaged("an entry that is not a verdict");
      history.Put({hash->get<std::string>(), result->front()});
    }
  } catch (const nlohmann::json::exception& problem) {
    return damaged(problem.what());
  }
  return history;
}

const HistoryEntry* RunHistory::Find(const std::string& library, const std::string& cell,
                                     const std::string& flow) const {
  const auto found = entries_.find({library, cell, flow});
  return found == entries_.end() ? nullptr : &found->second;
}

void RunHistory::Put(HistoryEntry entry) {
  Key key{entry.result.library, entry.result.cell, entry.result.flow};
  entries_[std::move(key)] = std::move(entry);
}

std::vector<VerifyResult> RunHistory::Results() const {
  std::vector<VerifyResult> results;
  for (const auto& [key, entry] : entries_) results.push_back(entry.result);
  return results;
}

bool RunHistory::Save(const std::string& file, std::string& error) const {
  nlohmann::json json = {{"version", kVersion}, {"entries", nlohmann::json::array()}};
  for (const auto& [key, entry] : entries_) {
    json["entries"].push_back(
        {{"hash", entry.hash}, {"result", nlohmann::json::parse(ResultRecordJson(entry.result))}});
  }
  return ReplaceFileContent(
      file, json.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n", &error);
}

#include "verify/all/history/RunHistory.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <sstream>

#include "verify/all/jobs/ResultFile.h"

namespace {

constexpr int kVersion = 1;

}  // namespace

RunHistory RunHistory::Load(const std::string& file, std::string& warning) {
  RunHistory history;
  std::error_code code;
  if (!std::filesystem::exists(file, code)) return history;
  std::ifstream in(file, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  const nlohmann::json json = nlohmann::json::parse(text.str(), nullptr, false);
  const auto entries = json.is_object() ? json.find("entries") : json.end();
  if (!in || json.is_discarded() || !json.is_object() || json.value("version", 0) != kVersion ||
      entries == json.end() || !entries->is_array()) {
    warning = "the history " + file + " is damaged and is ignored: every part is checked";
    return history;
  }
  for (const nlohmann::json& entry : *entries) {
    std::string error;
    const auto result = entry.is_object() && entry.contains("result")
                            ? ParseResultsJson(entry["result"].dump(), error)
                            : std::nullopt;
    const auto hash = entry.is_object() ? entry.find("hash") : entry.end();
    if (!result || result->size() != 1 || hash == entry.end() || !hash->is_string()) {
      warning = "the history " + file + " is damaged and is ignored: every part is checked";
      return RunHistory();
    }
    history.Put({hash->get<std::string>(), result->front()});
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
  const std::string side = file + ".new";
  {
    std::ofstream out(side, std::ios::binary | std::ios::trunc);
    out << json.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
    out.flush();
    if (!out) {
      error = "cannot write " + side;
      return false;
    }
  }
  if (std::rename(side.c_str(), file.c_str()) != 0) {
    error = "cannot replace " + file;
    return false;
  }
  return true;
}

#include "verify/all/history/RunHistory.h"

#include <filesystem>
#include <nlohmann/json.hpp>

#include "base/ReplaceFile.h"
#include "verify/JsonArrayStream.h"
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
  RunHistory history;
  std::string problem;  // of an entry, once the first is found
  std::string member;   // the top-level member being read
  // Each entry becomes a verdict as soon as it is read and its tree is dropped at once, so
  // that a history of thousands of parts is never one tree.
  const auto readEntry = [&](int depth, nlohmann::json::parse_event_t event,
                             nlohmann::json& parsed) {
    if (depth == 1 && event == nlohmann::json::parse_event_t::key)
      member = parsed.is_string() ? parsed.get<std::string>() : "";
    if (depth != 2 || member != "entries" || event != nlohmann::json::parse_event_t::object_end)
      return true;
    try {
      std::string why;
      const auto result =
          parsed.contains("result") ? ParseResultsJson(parsed["result"].dump(), why) : std::nullopt;
      const auto hash = parsed.find("hash");
      if (result && result->size() == 1 && hash != parsed.end() && hash->is_string()) {
        history.Put({hash->get<std::string>(), result->front()});
        return false;
      }
    } catch (const nlohmann::json::exception&) {
    }
    if (problem.empty()) problem = "an entry that is not a verdict";
    return false;
  };
  const nlohmann::json json = nlohmann::json::parse(text, readEntry, false);
  text.clear();
  text.shrink_to_fit();
  if (json.is_discarded() || !json.is_object()) return damaged("not JSON");
  const auto version = json.find("version");
  const auto entries = json.find("entries");
  if (version == json.end() || !version->is_number_integer() ||
      version->get<long long>() != kVersion || entries == json.end() || !entries->is_array())
    return damaged("not a history of this version");
  // Every entry that is an object was taken (or found wrong) as it was read.
  if (!problem.empty() || !entries->empty()) return damaged("an entry that is not a verdict");
  return history;
}

const HistoryEntry* RunHistory::Find(const std::string& library, const std::string& cell,
                                     const std::string& flow) const {
  const auto found = entries_.find({library, cell, flow});
  return found == entries_.end() || found->second.referred != nullptr ? nullptr
                                                                      : &found->second.held;
}

void RunHistory::Put(HistoryEntry entry) {
  Key key{entry.result.library, entry.result.cell, entry.result.flow};
  entries_[std::move(key)] = Slot{std::move(entry), nullptr};
}

void RunHistory::Refer(std::string hash, const VerifyResult& result) {
  entries_[{result.library, result.cell, result.flow}] = Slot{{std::move(hash), {}}, &result};
}

std::vector<VerifyResult> RunHistory::Results() const {
  std::vector<VerifyResult> results;
  for (const auto& [key, slot] : entries_) results.push_back(slot.Result());
  return results;
}

void RunHistory::ForEach(
    const std::function<void(const std::string&, const VerifyResult&)>& visit) const {
  for (const auto& [key, slot] : entries_) visit(slot.held.hash, slot.Result());
}

void RunHistory::RemoveIf(const std::function<bool(const VerifyResult&)>& gone) {
  std::erase_if(entries_, [&](const auto& item) { return gone(item.second.Result()); });
}

bool RunHistory::Save(const std::string& file, std::string& error) const {
  constexpr int kIndent = 1;
  const auto dump = [](const nlohmann::json& json) {
    return json.dump(kIndent, ' ', false, nlohmann::json::error_handler_t::replace);
  };
  const nlohmann::json head = {{"version", kVersion}, {"entries", nlohmann::json::array()}};
  std::vector<const Slot*> entries;
  entries.reserve(entries_.size());
  for (const auto& [key, slot] : entries_) entries.push_back(&slot);
  return ReplaceFileFromStream(
      file,
      [&](std::ostream& out) {
        WriteJsonWithArray(
            dump(head), "entries", kIndent, entries.size(),
            [&](std::size_t i) {
              return dump(
                  {{"hash", entries[i]->held.hash},
                   {"result", nlohmann::json::parse(ResultRecordJson(entries[i]->Result()))}});
            },
            out);
        out << "\n";
      },
      &error);
}

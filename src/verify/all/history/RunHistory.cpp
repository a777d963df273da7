#include "verify/all/history/RunHistory.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "base/ReplaceFile.h"
#include "verify/ResultOutput.h"
#include "verify/all/jobs/ResultFile.h"

namespace {

// 2 keeps each verdict as one line without the message-only findings list and with its log
// below the history's folder; 1 was an indented dump of -json records. Both are read.
constexpr int kVersion = 2;
constexpr int kFirstVersion = 1;
constexpr const char* kLogsFolder = "logs/";

// The log of an entry as the history keeps it: below the history's folder when it lies in
// the run's logs folder (so that a moved project keeps its logs), else as it is.
std::string KeptLog(const std::string& folder, const std::string& log) {
  const std::string logs = folder + "/" + kLogsFolder;
  return log.starts_with(logs) ? kLogsFolder + log.substr(logs.size()) : log;
}

// The log an entry read names, as a path: only a file right in the run's logs folder (named
// from the folder, or absolutely as the first version did), never a path elsewhere that a
// damaged history could point the page at; "" for any other.
std::string ReadLog(const std::string& folder, const std::string& log) {
  const std::string logs = folder + "/" + kLogsFolder;
  std::string name = log.starts_with(kLogsFolder) ? log.substr(std::string(kLogsFolder).size())
                     : log.starts_with(logs)      ? log.substr(logs.size())
                                                  : "";
  if (name.empty() || name == "." || name == ".." || name.find('/') != std::string::npos) return "";
  return logs + name;
}

// A result as the history keeps it: the log and the files its findings name in the run's logs
// folder named from the history's folder, so that a moved project's verdicts name its own.
std::string KeptRecord(const std::string& folder, const VerifyResult& result) {
  const std::string logs = folder + "/" + kLogsFolder;
  const auto inLogs = [&](const Finding& finding) { return finding.file.starts_with(logs); };
  if (std::none_of(result.findings.begin(), result.findings.end(), inLogs))
    return CompactResultRecord(result, KeptLog(folder, result.log));
  VerifyResult kept = result;
  for (Finding& finding : kept.findings) finding.file = KeptLog(folder, finding.file);
  return CompactResultRecord(kept, KeptLog(folder, result.log));
}

}  // namespace

std::size_t RunHistory::ReadLimit(std::size_t jobs) {
  return std::max(kReadLimitBytes, jobs * kReadLimitPerJob);
}

RunHistory RunHistory::Load(const std::string& file, std::string& warning, std::size_t limit) {
  warning.clear();
  std::error_code code;
  if (std::filesystem::symlink_status(file, code).type() == std::filesystem::file_type::not_found)
    return {};
  const auto damaged = [&](const std::string& why) {
    warning =
        "the history " + file + " is damaged and is ignored (" + why + "): every part is checked";
    return RunHistory();
  };
  RegularFileChars chars(file, limit);
  if (!chars.Error().empty()) return damaged(chars.Error());
  const std::string folder = std::filesystem::path(file).parent_path().string();
  RunHistory history;
  std::string problem;  // of an entry, once the first is found
  std::string member;   // the top-level member being read
  bool tooDeep = false;
  // The file is read a piece at a time and each entry becomes a verdict as soon as it is
  // read, its tree dropped at once: a history of any size is never one text nor one tree.
  // Entries nest one level deeper than results; anything deeper is skipped unbuilt (the
  // parser keeps no stack of its own) and makes the history damaged.
  const auto readEntry = [&](int depth, nlohmann::json::parse_event_t event,
                             nlohmann::json& parsed) {
    if ((event == nlohmann::json::parse_event_t::object_start ||
         event == nlohmann::json::parse_event_t::array_start) &&
        depth >= kResultsNestingLimit + 2) {
      tooDeep = true;
      return false;
    }
    if (depth == 1 && event == nlohmann::json::parse_event_t::key)
      member = parsed.is_string() ? parsed.get<std::string>() : "";
    if (depth != 2 || member != "entries" || event != nlohmann::json::parse_event_t::object_end)
      return true;
    std::string why;
    const auto record = parsed.find("result");
    auto result = record != parsed.end() ? ResultOfRecord(*record, why) : std::nullopt;
    const auto hash = parsed.find("hash");
    if (result && hash != parsed.end() && hash->is_string()) {
      result->log = ReadLog(folder, result->log);
      for (Finding& finding : result->findings)
        if (finding.file.starts_with(kLogsFolder)) finding.file = ReadLog(folder, finding.file);
      history.Put({hash->get<std::string>(), std::move(*result)});
    } else if (problem.empty()) {
      problem = "an entry that is not a verdict";
    }
    return false;
  };
  const nlohmann::json json = nlohmann::json::parse(chars.begin(), chars.end(), readEntry, false);
  if (!chars.Error().empty()) return damaged(chars.Error());
  if (tooDeep) return damaged("nested too deeply");
  if (json.is_discarded() || !json.is_object()) return damaged("not JSON");
  const auto version = json.find("version");
  const auto entries = json.find("entries");
  if (version == json.end() || !version->is_number_integer() ||
      (version->get<long long>() != kVersion && version->get<long long>() != kFirstVersion) ||
      entries == json.end() || !entries->is_array())
    return damaged("not a history of this version");
  // Every entry that is an object was taken (or found wrong) as it was read.
  if (!problem.empty() || !entries->empty()) return damaged("an entry that is not a verdict");
  if (version->get<long long>() == kFirstVersion) {
    // Its hashes named the project's folder: they match no job now. The verdicts stay for
    // telling what changed; none is reused.
    for (auto& [key, slot] : history.entries_) slot.held.hash.clear();
    warning = "the history " + file +
              " is of an earlier release: its verdicts are compared with this run's but not "
              "reused, so every part is checked once";
  }
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

void RunHistory::ForEach(const std::function<void(const VerifyResult&)>& visit) const {
  for (const auto& [key, slot] : entries_) visit(slot.Result());
}

void RunHistory::RemoveIf(const std::function<bool(const VerifyResult&)>& gone) {
  std::erase_if(entries_, [&](const auto& item) { return gone(item.second.Result()); });
}

bool RunHistory::Save(const std::string& file, std::string& error) const {
  const std::string folder = std::filesystem::path(file).parent_path().string();
  const auto text = [](const std::string& value) {
    return nlohmann::json(value).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
  };
  // One entry a line, written as it is made: the history is never one text in memory.
  return ReplaceFileFromStream(
      file,
      [&](std::ostream& out) {
        out << "{\"version\":" << kVersion << ",\"entries\":[";
        const char* separator = "\n";
        for (const auto& [key, slot] : entries_) {
          const VerifyResult& result = slot.Result();
          out << separator << "{\"hash\":" << text(slot.held.hash)
              << ",\"result\":" << KeptRecord(folder, result) << "}";
          separator = ",\n";
        }
        out << "\n]}\n";
      },
      &error);
}

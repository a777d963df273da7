// The verdicts of the last `kestra verify all` runs of a project, kept as JSON in the
// project's temp folder: per part and flow the content hash the verdict was made for and the
// result. A later run with -changed reuses a verdict whose hash is unchanged, and every run
// tells what changed since. Standard C++ only.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

#include "verify/VerifyResult.h"

struct HistoryEntry {
  std::string hash;  // of everything the verdict depends on; "" when not known
  VerifyResult result;
};

class RunHistory {
 public:
  // The most Load reads of the history of a run over jobs checks: 256 MB, and 16 KB a check
  // beyond that (a verdict takes about 0.2 to 1 KB, with findings a few KB), so that the
  // history of a larger library is read whole while a file without end is not.
  static std::size_t ReadLimit(std::size_t jobs);
  static constexpr std::size_t kReadLimitPerJob = std::size_t{16} << 10;

  // The history in file: empty when there is none; empty with a warning (the reason) when
  // the file cannot be read, is larger than limit or is not a history, so that a damaged
  // file costs one full run and nothing else; warning is "" when there is nothing to say.
  // Read a piece of the file and one entry's tree at a time. A history of the first release
  // is read with a warning that its verdicts are not reused (their hashes were made another
  // way). Logs are found in the logs folder beside file (where the run keeps them), also when
  // the project has moved; an entry's log elsewhere is dropped, never followed.
  static RunHistory Load(const std::string& file, std::string& warning,
                         std::size_t limit = ReadLimit(0));

  // The earlier verdict the history holds for a part and flow (loaded or Put); nullptr when
  // there is none. A verdict it only refers to (Refer) is this run's and is not found here.
  const HistoryEntry* Find(const std::string& library, const std::string& cell,
                           const std::string& flow) const;
  void Put(HistoryEntry entry);
  // Takes this run's verdict for its part and flow without copying it: the history refers to
  // result, which must stay in place and unchanged until the history is saved for the last
  // time or dropped. A run over thousands of parts so holds each result once.
  void Refer(std::string hash, const VerifyResult& result);
  bool Empty() const { return entries_.empty(); }
  std::size_t Size() const { return entries_.size(); }
  // Calls visit with every entry's result, in the order of library, cell and flow.
  void ForEach(const std::function<void(const VerifyResult&)>& visit) const;
  // Forgets the entries whose result gone says so of.
  void RemoveIf(const std::function<bool(const VerifyResult&)>& gone);

  // Writes the history to a side file and renames it into place, so that an interrupted
  // save leaves the previous history whole; entry by entry, never as one tree in memory.
  // False with the reason in error.
  bool Save(const std::string& file, std::string& error) const;

 private:
  using Key = std::tuple<std::string, std::string, std::string>;  // library, cell, flow
  struct Slot {
    HistoryEntry held;                       // its hash always; its result unless referred
    const VerifyResult* referred = nullptr;  // a result of the caller's (Refer)
    const VerifyResult& Result() const { return referred != nullptr ? *referred : held.result; }
  };
  std::map<Key, Slot> entries_;
};

// The verdicts of the last `kestra verify all` runs of a project, kept as JSON in the
// project's temp folder: per part and flow the content hash the verdict was made for and the
// result. A later run with -changed reuses a verdict whose hash is unchanged, and every run
// tells what changed since. Standard C++ only.
#pragma once

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
  // The history in file: empty when there is none; empty with a warning (the reason) when
  // the file cannot be read or is not a history, so that a damaged file costs one full run
  // and nothing else.
  static RunHistory Load(const std::string& file, std::string& warning);

  const HistoryEntry* Find(const std::string& library, const std::string& cell,
                           const std::string& flow) const;
  void Put(HistoryEntry entry);
  bool Empty() const { return entries_.empty(); }
  std::size_t Size() const { return entries_.size(); }
  std::vector<VerifyResult> Results() const;

  // Writes the history to a side file and renames it into place, so that an interrupted
  // save leaves the previous history whole. False with the reason in error.
  bool Save(const std::string& file, std::string& error) const;

 private:
  using Key = std::tuple<std::string, std::string, std::string>;  // library, cell, flow
  std::map<Key, HistoryEntry> entries_;
};

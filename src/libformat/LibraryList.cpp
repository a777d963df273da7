#include "libformat/LibraryList.h"

#include <filesystem>
#include <fstream>
#include <set>
#include <unordered_map>

#include "libformat/LineWords.h"
#include "libformat/PortableName.h"

namespace fs = std::filesystem;

bool LibraryEntry::Choosable() const { return directoryExists && IsPortableName(name); }

namespace {

constexpr int kMaxIncludeDepth = 16;

class ListReader {
 public:
  explicit ListReader(const VariableExpander& expand) : expand_(expand) {}

  void ReadFile(const fs::path& file, int depth, LibraryList& out) {
    std::error_code ec;
    const std::string shown = file.string();
    if (!fs::exists(file, ec)) {
      out.issues.push_back({shown, 0, "library list file not found"});
      return;
    }
    // Only regular files are opened: a pipe or device would block the reader.
    if (!fs::is_regular_file(file, ec)) {
      out.issues.push_back({shown, 0, "not a regular file; not read"});
      return;
    }
    const fs::path key = fs::weakly_canonical(file, ec);
    if (open_.count(key) != 0) {
      out.issues.push_back({shown, 0, "includes itself; the repeated include is skipped"});
      return;
    }
    // A file included from several places is read once: repeated includes would otherwise
    // fan out without limit (four includes a level, nine levels: 262,000 reads).
    if (!read_.insert(key).second) {
      out.issues.push_back({shown, 0, "was read already; the repeated include is skipped"});
      return;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
      out.issues.push_back({shown, 0, "cannot be read"});
      return;
    }
    open_.insert(key);
    std::string text;
    int lineNumber = 0;
    while (std::getline(in, text)) {
      ++lineNumber;
      ReadLine(file, shown, lineNumber, text, depth, out);
    }
    open_.erase(key);
  }

 private:
  void ReadLine(const fs::path& file, const std::string& shown, int lineNumber,
                const std::string& text, int depth, LibraryList& out) {
    const LineWords split = SplitLineWords(text);
    const auto& words = split.words;
    if (words.empty()) return;
    if (split.unterminatedQuote) {
      out.issues.push_back({shown, lineNumber, "missing closing double quote"});
      return;
    }
    if (words.size() != 2) {
      out.issues.push_back({shown, lineNumber,
                            "expected a library name and a directory, found " +
                                std::to_string(words.size()) + " word(s)"});
      return;
    }
    const bool isInclude = words[0] == "include" && !split.quoted[0];
    const fs::path target = Resolve(file, words[1], shown, lineNumber, out);
    if (isInclude) {
      if (depth + 1 >= kMaxIncludeDepth) {
        out.issues.push_back({shown, lineNumber, "includes nested too deeply; skipped"});
        return;
      }
      ReadFile(target, depth + 1, out);
      return;
    }
    if (const auto known = listed_.find(words[0]); known != listed_.end()) {
      const LibraryEntry& first = out.libraries[known->second];
      out.issues.push_back({shown, lineNumber,
                            "library \"" + words[0] + "\" is already listed at " + first.listFile +
                                ":" + std::to_string(first.line) + "; this line is ignored"});
      return;
    }
    listed_.emplace(words[0], out.libraries.size());
    if (!IsPortableName(words[0])) {
      out.issues.push_back({shown, lineNumber,
                            "library name \"" + words[0] +
                                "\" contains control characters; shown but not selectable"});
    }
    LibraryEntry entry{words[0], target.string(), shown, lineNumber, false};
    std::error_code ec;
    entry.directoryExists = fs::is_directory(target, ec);
    if (!entry.directoryExists) {
      out.issues.push_back(
          {shown, lineNumber,
           "library \"" + entry.name + "\": directory " + entry.directory +
               (fs::exists(target, ec) ? " is not a directory" : " does not exist")});
    }
    out.libraries.push_back(std::move(entry));
  }

  fs::path Resolve(const fs::path& listFile, const std::string& value, const std::string& shown,
                   int lineNumber, LibraryList& out) {
    std::string expanded = value;
    std::string error;
    if (value.find('$') != std::string::npos && expand_(value, expanded, error) != 1) {
      out.issues.push_back({shown, lineNumber, error.empty() ? "cannot expand " + value : error});
      expanded = value;
    }
    fs::path path(expanded);
    if (path.is_relative()) path = listFile.parent_path() / path;
    return path.lexically_normal();
  }

  const VariableExpander& expand_;
  std::set<fs::path> open_;                              // files being read, to stop include loops
  std::set<fs::path> read_;                              // files read in this load, each read once
  std::unordered_map<std::string, std::size_t> listed_;  // library name -> its entry
};

}  // namespace

LibraryList ReadLibraryList(const std::string& listFile, const VariableExpander& expand) {
  LibraryList result;
  ListReader reader(expand);
  std::error_code ec;
  fs::path file = fs::absolute(fs::path(listFile), ec);
  if (ec) file = listFile;
  reader.ReadFile(file, 0, result);
  return result;
}

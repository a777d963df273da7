// Reading the outcome of one part from the packaging run's per-part files, and the name
// those files carry. Standard C++ (the std-only target partverdict); any thread.
#pragma once

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

// Verdict of one part: 0 passed (withWarnings tells whether its log mentions warnings or
// errors), 1 failed, 2 status unknown.
struct PartVerdict {
  int code = 1;
  bool withWarnings = false;
};

// Pieces of at most this many characters are searched: a line, or the next part of a longer
// line. A keyword split across two pieces is not found.
inline constexpr std::size_t kVerdictPieceChars = 79;

// True when the file opens and an upper-cased piece contains one of the keywords (given in
// upper case). Reading stops at the first match.
bool FileHasKeyword(const std::filesystem::path& file,
                    std::initializer_list<std::string_view> keywords, bool& opened);

// The name of a part's per-part files ("<name>.stat", "<name>.log"): the last component
// (after the last '/', '\\' or ':') of libraryPath + "/" + cell, mapped to its on-disk form
// when the name mapper can, else as it is.
std::string PartFileName(const std::string& libraryPath, const std::string& cell);

// Status file missing, empty, not a regular file (a directory, a dangling link, a pipe) or
// unreadable: failed; its size unreadable: unknown; no piece
// with "PASSED": failed. A passed part reads its log for "WARNING" or "ERROR".
PartVerdict ReadPartVerdictFiles(const std::filesystem::path& statusFile,
                                 const std::filesystem::path& logFile);

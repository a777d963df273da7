#include "dialogs/PartVerdict.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <system_error>

#include "base/MapLibraryName.h"

std::string PartFileName(const std::string& libraryPath, const std::string& cell) {
  const std::string path = libraryPath + "/" + cell;
  const std::string name = path.substr(path.find_last_of("/\\:") + 1);
  if (const auto mapped = MapLibraryName(name)) return *mapped;
  return name;
}

bool FileHasKeyword(const std::filesystem::path& file,
                    std::initializer_list<std::string_view> keywords, bool& opened) {
  std::ifstream in(file, std::ios::binary);
  opened = in.is_open();
  if (!opened) return false;
  // Like a C fgets with a buffer of 80: a line, or the next 79 characters of a longer one.
  std::string piece;
  char c = 0;
  auto matches = [&] {
    std::transform(piece.begin(), piece.end(), piece.begin(),
                   [](unsigned char ch) { return static_cast<char>(std::toupper(ch)); });
    return std::any_of(keywords.begin(), keywords.end(),
                       [&](std::string_view k) { return piece.find(k) != std::string::npos; });
  };
  while (in.get(c)) {
    piece += c;
    if (c == '\n' || piece.size() == kVerdictPieceChars) {
      if (matches()) return true;
      piece.clear();
    }
  }
  return !piece.empty() && matches();
}

PartVerdict ReadPartVerdictFiles(const std::filesystem::path& statusFile,
                                 const std::filesystem::path& logFile) {
  PartVerdict verdict;  // failed, without warnings
  std::error_code ec;
  const auto status = std::filesystem::status(statusFile, ec);
  if (!std::filesystem::exists(status)) {
    // A status that cannot be read for another reason than absence is unknown.
    if (ec && ec != std::errc::no_such_file_or_directory && ec != std::errc::not_a_directory)
      verdict.code = 2;
    return verdict;
  }
  // A directory or a device is no status file; opening a pipe would wait for a writer.
  if (!std::filesystem::is_regular_file(status)) return verdict;
  const auto size = std::filesystem::file_size(statusFile, ec);
  if (ec) {
    verdict.code = 2;
    return verdict;
  }
  if (size == 0) return verdict;
  bool opened = false;
  if (!FileHasKeyword(statusFile, {"PASSED"}, opened)) return verdict;
  verdict.code = 0;
  verdict.withWarnings = FileHasKeyword(logFile, {"WARNING", "ERROR"}, opened);
  return verdict;
}

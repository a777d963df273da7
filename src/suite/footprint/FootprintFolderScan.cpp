#include "suite/footprint/FootprintFolderScan.h"

#include <algorithm>
#include <filesystem>
#include <string_view>

#include "projectfile/SpiText.h"

namespace fs = std::filesystem;

namespace {

bool EndsWithIgnoringCase(std::string_view text, std::string_view suffix) {
  return text.size() > suffix.size() &&
         spi::EqualsIgnoringCase(text.substr(text.size() - suffix.size()), suffix);
}

std::string Reason(const std::error_code& error) {
  return error == std::errc::no_such_file_or_directory ? "no such folder" : error.message();
}

bool IsRegularFile(const fs::directory_entry& entry) {
  std::error_code ignored;
  return entry.is_regular_file(ignored);  // follows a link to a file
}

// Calls visit(entry) for each entry of folder; the problem when it cannot be listed.
template <class Visit>
std::string ListFolder(const std::string& folder, Visit visit) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) return Reason(error);
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    visit(*it);
  }
  return error ? Reason(error) : std::string();
}

}  // namespace

FootprintFolderScan ScanFootprintFolder(const std::string& folder, const std::string& extension) {
  FootprintFolderScan scan;
  scan.problem = ListFolder(folder, [&](const fs::directory_entry& entry) {
    std::string fileName = entry.path().filename().string();
    if (!EndsWithIgnoringCase(fileName, extension) || !IsRegularFile(entry)) return;
    std::string name = fileName.substr(0, fileName.size() - extension.size());
    scan.files.push_back({std::move(name), std::move(fileName)});
  });
  std::sort(scan.files.begin(), scan.files.end(),
            [](const FootprintFile& a, const FootprintFile& b) { return a.name < b.name; });
  return scan;
}

FootprintFolderScan FindFootprintFile(const std::string& folder, const std::string& fileName) {
  FootprintFolderScan scan;
  const std::size_t dot = fileName.rfind('.');
  const std::string name = dot == std::string::npos ? fileName : fileName.substr(0, dot);
  std::error_code error;
  if (fs::is_regular_file(fs::path(folder) / fileName, error)) {
    scan.files.push_back({name, fileName});
    return scan;
  }
  scan.problem = ListFolder(folder, [&](const fs::directory_entry& entry) {
    const std::string found = entry.path().filename().string();
    if (!scan.files.empty() || !spi::EqualsIgnoringCase(found, fileName) || !IsRegularFile(entry))
      return;
    const std::size_t foundDot = found.rfind('.');
    scan.files.push_back({found.substr(0, foundDot), found});
  });
  return scan;
}

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

FootprintFile Split(const std::string& fileName) {
  const std::size_t dot = fileName.rfind('.');
  return {dot == std::string::npos ? fileName : fileName.substr(0, dot), fileName};
}

}  // namespace

FolderListing ListFolder(const std::string& folder) {
  FolderListing listing;
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) {
    listing.problem = Reason(error);
    return listing;
  }
  for (const fs::directory_iterator end; it != end; it.increment(error)) {
    std::error_code ignored;
    if (it->is_regular_file(ignored)) listing.fileNames.push_back(it->path().filename().string());
  }
  if (error) listing.problem = Reason(error);
  std::sort(listing.fileNames.begin(), listing.fileNames.end());
  return listing;
}

std::vector<FootprintFile> FilesWithExtension(const FolderListing& listing,
                                              const std::string& extension) {
  std::vector<FootprintFile> files;
  for (const std::string& fileName : listing.fileNames) {
    if (!EndsWithIgnoringCase(fileName, extension)) continue;
    files.push_back({fileName.substr(0, fileName.size() - extension.size()), fileName});
  }
  return files;
}

std::vector<FootprintFile> FindFootprintFile(const std::string& folder, const std::string& fileName,
                                             std::string& problem) {
  std::error_code error;
  if (fs::is_regular_file(fs::path(folder) / fileName, error)) return {Split(fileName)};
  const FolderListing listing = ListFolder(folder);
  problem = listing.problem;
  for (const std::string& found : listing.fileNames)
    if (spi::EqualsIgnoringCase(found, fileName)) return {Split(found)};
  return {};
}

// qsfInitialize, qsfSearch, qsfGetErrorMsg: finding setup files along the setup search path.
#include <sys/stat.h>

#include <cstdlib>
#include <string_view>
#include <vector>

#include "base/qvdCommon.h"

struct QsfSearchService {};

namespace {

// The folders to search, in order. Read on every search, so that a changed environment is
// honoured.
std::vector<std::string> SearchFolders() {
  std::vector<std::string> folders;
  if (const char* path = std::getenv("QSF_SEARCH_PATH"); path && *path) {
    std::string_view rest = path;
    while (true) {
      const auto colon = rest.find(':');
      const auto folder = rest.substr(0, colon);
      if (!folder.empty()) folders.emplace_back(folder);
      if (colon == std::string_view::npos) break;
      rest.remove_prefix(colon + 1);
    }
    return folders;
  }
  folders.emplace_back(".");
  if (const char* home = std::getenv("HOME"); home && *home) folders.emplace_back(home);
  if (const std::string root = qvdGetInstallRoot(); !root.empty())
    folders.push_back(root + "/share");
  return folders;
}

}  // namespace

int qsfInitialize(QSFHANDLE* handle) {
  static QsfSearchService service;
  if (!handle) return QSF_BAD_ARGUMENT;
  *handle = &service;
  return QSF_OK;
}

int qsfSearch(QSFHANDLE handle, const std::string& relative, std::string& found) {
  if (!handle || relative.empty()) return QSF_BAD_ARGUMENT;
  for (const auto& folder : SearchFolders()) {
    std::string candidate = folder;
    if (candidate.back() != '/') candidate += '/';
    candidate += relative;
    struct stat status {};
    if (::stat(candidate.c_str(), &status) == 0 && S_ISREG(status.st_mode)) {
      found = candidate;
      return QSF_OK;
    }
  }
  return QSF_NOT_FOUND;
}

const char* qsfGetErrorMsg(int error) {
  switch (error) {
    case QSF_OK:
      return "no error";
    case QSF_NOT_FOUND:
      return "the file is not in any folder of the setup search path";
    case QSF_BAD_ARGUMENT:
      return "the setup search service was called without a handle or file name";
    default:
      return "unknown setup search error";
  }
}

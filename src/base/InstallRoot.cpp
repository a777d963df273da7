// qvdGetInstallRoot and qvdGetInstPath: where the suite is installed.
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "base/qvdCommon.h"

std::string qvdGetInstallRoot() {
  if (const char* root = std::getenv("QVD_INST_DIR"); root && *root) {
    std::string text = root;
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
  }
  // The running program lives in <root>/bin (or another folder directly below the root).
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || !program.has_parent_path()) return {};
  return program.parent_path().parent_path().string();
}

std::string qvdGetInstPath(const char* relative) {
  std::string root = qvdGetInstallRoot();
  if (!relative || !*relative) return root;
  if (!root.empty() && root.back() != '/' && relative[0] != '/') root += '/';
  return root + relative;
}

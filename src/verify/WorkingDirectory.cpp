#include "verify/WorkingDirectory.h"

#include <filesystem>
#include <system_error>

std::string CurrentDirectory() {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  return error ? std::string() : current.string();
}

bool EnterDirectory(const std::string& path) {
  if (path.empty()) return false;
  std::error_code error;
  std::filesystem::current_path(path, error);
  return !error;
}

CurrentDirectoryGuard::~CurrentDirectoryGuard() {
  if (!saved_.empty()) EnterDirectory(saved_);
}

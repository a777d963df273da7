#include "verify/WorkingDirectory.h"

#include <filesystem>
#include <system_error>

std::string CurrentDirectory() {
  std::error_code error;
  const std::filesystem::path current = std::filesystem::current_path(error);
  return error ? std::string() : current.string();
}

bool EnterDirectory(const std::string& path, std::string* why) {
  std::error_code error = std::make_error_code(std::errc::no_such_file_or_directory);
  if (!path.empty()) std::filesystem::current_path(path, error);
  if (error && why != nullptr) *why = "cannot enter " + path + ": " + error.message();
  return !error;
}

CurrentDirectoryGuard::~CurrentDirectoryGuard() {
  if (!saved_.empty()) EnterDirectory(saved_);
}

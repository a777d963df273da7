#include "verify/PathNames.h"

#include <filesystem>

std::string ParentPath(const std::string& path) {
  if (const std::size_t slash = path.rfind('/'); slash != std::string::npos) {
    return path.substr(0, slash);
  }
  if (const std::size_t backslash = path.rfind('\\'); backslash != std::string::npos) {
    return path.substr(0, backslash);
  }
  if (const std::size_t colon = path.find(':'); colon != std::string::npos) {
    return path.substr(0, colon + 1);
  }
  return "./";
}

std::string LastPathComponent(const std::string& path) {
  const std::size_t cut = path.find_last_of("/:\\");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

std::string AbsolutePath(const std::string& path) {
  std::error_code error;
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return path.empty() || error ? path : absolute.lexically_normal().string();
}

std::string ExistingProjectFile(const std::string& given, std::string& problem) {
  const std::string path = AbsolutePath(given);
  std::error_code error;
  if (path.empty() || !std::filesystem::is_regular_file(path, error)) {
    problem = "no project file " + given;
    return {};
  }
  return path;
}

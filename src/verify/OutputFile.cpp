#include "verify/OutputFile.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string PrepareOutputFile(const std::string& file) {
  std::error_code error;
  const fs::path path = fs::absolute(file, error).lexically_normal();
  if (error || path.filename().empty()) return "\"" + file + "\" names no file";
  const fs::path folder = path.parent_path();
  const std::string cannot = "cannot write \"" + file + "\": ";
  if (!fs::exists(folder, error)) {
    // Only the file's own folder is made: a mistyped path must not grow a tree of folders.
    if (!fs::is_directory(folder.parent_path(), error))
      return cannot + "the folder " + folder.string() + " does not exist, nor its parent";
    if (!fs::create_directory(folder, error) && !fs::is_directory(folder))
      return cannot + "the folder " + folder.string() + " cannot be made: " + error.message();
  } else if (!fs::is_directory(folder, error)) {
    return cannot + folder.string() + " is not a folder";
  }
  if (fs::is_directory(path, error)) return cannot + "it is a folder";
  if (::access(folder.c_str(), W_OK) != 0)
    return cannot + "the folder " + folder.string() + ": " + std::strerror(errno);
  return "";
}

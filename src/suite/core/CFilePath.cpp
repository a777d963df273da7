#include "outside/CFilePath.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace {
std::size_t LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }
}  // namespace

int CFilePath::GetProjPathFromName(const std::string& project, std::string& directory) {
  const std::size_t cut = LastSeparator(project);
  directory = cut == std::string::npos ? std::string() : project.substr(0, cut + 1);
  return 0;
}

int CFilePath::GetFileName(const std::string& path, std::string& name, int flag) {
  const std::size_t cut = LastSeparator(path);
  name = cut == std::string::npos ? path : path.substr(cut + 1);
  if (flag == 0) {
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
  }
  return name.empty() ? 1 : 0;
}

void CFilePath::NormalizePath(std::string& path) {
  if (path.empty()) return;
  const bool absolute = path.front() == '/' || path.front() == '\\';
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find_first_of("/\\", start), path.size());
    const std::string part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == ".") continue;
    if (part == ".." && !parts.empty() && parts.back() != "..") {
      parts.pop_back();
    } else if (part != ".." || !absolute) {
      parts.push_back(part);  // ".." above the root of an absolute path stays at the root
    }
  }
  std::string out = absolute ? "/" : "";
  for (std::size_t i = 0; i < parts.size(); ++i) out += (i ? "/" : "") + parts[i];
  path = out.empty() ? "." : out;
}

int CFilePath::RemoveNonEmptyDirectory(const std::string& path) {
  std::error_code ec;
  // Refuse what is not a directory of its own (a link is not followed into its target).
  if (path.empty() || !std::filesystem::is_directory(std::filesystem::symlink_status(path, ec)))
    return 0;
  const auto canonical = std::filesystem::weakly_canonical(path, ec);
  if (ec || canonical == canonical.root_path()) return 0;
  std::filesystem::remove_all(path, ec);
  return ec ? 0 : 1;
}

int CFilePath::IsDesignProject(const std::string& refLibPath) {
  std::error_code ec;
  return std::filesystem::exists(refLibPath, ec) ? 0 : 1;
}

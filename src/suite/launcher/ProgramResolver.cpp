#include "suite/launcher/ProgramResolver.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

std::string_view ToolName(std::string_view operation) {
  constexpr std::string_view kPrefix = "launch";
  if (operation.substr(0, kPrefix.size()) == kPrefix) operation.remove_prefix(kPrefix.size());
  return operation;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

bool EndsWithExe(const std::string& name) {
  return name.size() > 4 && Lower(std::string_view(name).substr(name.size() - 4)) == ".exe";
}

bool IsRunnableFile(const std::string& path) { return WhyNotRunnable(path).empty(); }

// The name as given first, then without ".exe".
std::vector<std::string> Spellings(const std::string& name) {
  std::vector<std::string> spellings{name};
  if (EndsWithExe(name)) spellings.push_back(name.substr(0, name.size() - 4));
  return spellings;
}

std::vector<std::string> SearchFolders(const std::string& installRoot,
                                       const std::string& pathList) {
  std::vector<std::string> folders{installRoot + "/tools/bin"};
  std::size_t start = 0;
  while (start <= pathList.size()) {
    const std::size_t end = std::min(pathList.find(':', start), pathList.size());
    // An empty entry means the current directory, as for execvp.
    folders.push_back(end == start ? std::string(".") : pathList.substr(start, end - start));
    start = end + 1;
  }
  return folders;
}

std::string FromExecutable(const std::string& executable, const std::string& installRoot,
                           const std::string& pathList) {
  const auto spellings = Spellings(executable);
  if (executable.find('/') != std::string::npos) {
    // A path names one file: take the first spelling that exists, so that a file that is
    // there but cannot be run is reported as such rather than as missing.
    for (const auto& s : spellings)
      if (::access(s.c_str(), F_OK) == 0) return s;
    return spellings.back();
  }
  for (const auto& folder : SearchFolders(installRoot, pathList))
    for (const auto& s : spellings)
      if (IsRunnableFile(folder + "/" + s)) return folder + "/" + s;
  return installRoot + "/tools/bin/" + spellings.back();
}

}  // namespace

std::string ToolVariableName(std::string_view operation) {
  std::string name = "KESTRA_TOOL_";
  for (char c : ToolName(operation))
    name += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name;
}

std::string ResolveProgram(std::string_view operation, const std::string& executable,
                           const std::string& installRoot, const std::string& pathList) {
  if (const char* chosen = std::getenv(ToolVariableName(operation).c_str()); chosen && *chosen)
    return chosen;
  if (!executable.empty()) return FromExecutable(executable, installRoot, pathList);
  return installRoot + "/tools/bin/" + Lower(ToolName(operation));
}

std::string WhyNotRunnable(const std::string& path) {
  struct stat info {};
  if (path.empty()) return "no program name";
  if (::stat(path.c_str(), &info) != 0) return std::strerror(errno);
  if (S_ISDIR(info.st_mode)) return "it is a directory";
  if (::access(path.c_str(), X_OK) != 0) return std::strerror(errno);
  return {};
}

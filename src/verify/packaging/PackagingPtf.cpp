#include "verify/packaging/PackagingPtf.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>

#include "projectfile/CSpiProject.h"

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

bool HasDrive(const std::string& value) {
  return value.size() >= 2 && std::isalpha(static_cast<unsigned char>(value[0])) && value[1] == ':';
}

// "$NAME/rest" or "%NAME%/rest" with NAME set: its value and the rest. nullopt otherwise.
std::optional<std::string> ExpandLeadingVariable(const std::string& value) {
  const std::size_t end = value.find_first_of("/\\%\r\n", 1);
  const std::string name = value.substr(1, end == std::string::npos ? end : end - 1);
  const char* setting = name.empty() ? nullptr : std::getenv(name.c_str());
  if (setting == nullptr) return std::nullopt;
  // The whole value of the variable: a long one is not cut (a cut path names another file).
  std::string rest = end == std::string::npos ? "" : value.substr(end);
  if (!rest.empty() && rest.front() == '%') rest.erase(0, 1);
  return setting + rest;
}

// The values of one directive of the current program, in order.
std::vector<std::string> DirectiveValues(CSpiProject& project, const char* directive) {
  std::vector<std::string> values;
  if (project.FindDirective(directive) != 0) return values;
  project.RewindValues();
  for (std::string value; project.GetNextValue(value) == 0;) values.push_back(value);
  return values;
}

}  // namespace

std::string AbsolutePptValue(const std::string& value, const std::string& directory) {
  std::string result = value;
  if (!result.empty() && (result.front() == '$' || result.front() == '%')) {
    const auto expanded = ExpandLeadingVariable(result);
    if (!expanded) return value;
    result = *expanded;
  }
  const bool absolute =
      (!result.empty() && (IsSeparator(result.front()) || result.front() == '~')) ||
      (HasDrive(result) && result.size() > 2 && IsSeparator(result[2]));
  if (!absolute) {
    if (HasDrive(result)) result.erase(0, 2);
    if (!result.empty() && result.front() == '.') {
      if (IsSeparator(result.back())) result.pop_back();
      if (result.size() >= 2 && IsSeparator(result[1])) result.erase(0, 2);
    }
    if (directory.empty()) return value;
    std::string base = directory;
    while (base.size() > 1 && IsSeparator(base.back())) base.pop_back();
    result = base + "/" + result;
  }
  for (char& c : result)
    if (c == '/') c = '\\';
  return result;
}

std::optional<PtfContent> ComposePtfContent(const std::string& projectFile,
                                            const std::string& directory) {
  CSpiProject project;
  if (project.Open(projectFile) != 0) return std::nullopt;
  return ComposePtfContent(project, directory);
}

PtfContent ComposePtfContent(CSpiProject& project, const std::string& directory) {
  PtfContent content;
  if (project.FindProgram("GLOBAL") != 0) return content;
  // Adds a piece when it keeps the content below the limit.
  auto add = [&](const std::string& piece) {
    if (content.text.size() + piece.size() >= kPtfFileLimit) {
      content.leftOut.push_back(piece);
      return;
    }
    content.text += piece;
  };
  for (const char* directive : {"use_library_ppt", "ppt", "exclude_ppt", "include_ppt"}) {
    if (project.FindDirective(directive) != 0) continue;
    const bool makeAbsolute = std::string(directive) == "ppt";
    add(std::string(directive) + " ");
    for (const std::string& value : DirectiveValues(project, directive))
      add("'" + (makeAbsolute ? AbsolutePptValue(value, directory) : value) + "' ");
    add("\n");
  }
  return content;
}

std::string WritePtfFile(const std::string& projectFile, const std::string& projectDir,
                         std::vector<std::string>& leftOut) {
  return WritePtfFile(ComposePtfContent(projectFile, projectDir), projectDir, leftOut);
}

std::string WritePtfFile(const std::optional<PtfContent>& content, const std::string& projectDir,
                         std::vector<std::string>& leftOut) {
  if (!content) return "";
  leftOut = content->leftOut;
  std::error_code error;
  std::filesystem::create_directories(projectDir + "temp", error);
  const std::string path = projectDir + "temp/ptf.txt";
  std::filesystem::remove(path, error);
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd < 0) return "";
  std::size_t written = 0;
  while (written < content->text.size()) {
    const ssize_t n = ::write(fd, content->text.data() + written, content->text.size() - written);
    if (n <= 0) break;
    written += static_cast<std::size_t>(n);
  }
  const bool closed = ::close(fd) == 0;
  return written == content->text.size() && closed ? path : "";
}

std::string PtfLeftOutText(const std::vector<std::string>& leftOut) {
  if (leftOut.empty()) return "";
  std::string text = "The ptf directive file is limited to 4096 bytes; left out:";
  for (const std::string& piece : leftOut) text += " " + piece;
  return text;
}

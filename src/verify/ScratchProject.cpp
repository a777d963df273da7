#include "verify/ScratchProject.h"

#include <sys/stat.h>

#include <filesystem>
#include <map>
#include <set>
#include <vector>

#include "base/ReplaceFile.h"
#include "projectfile/CSpiProject.h"
#include "verify/PathNames.h"

namespace fs = std::filesystem;

namespace {

// The first value of PROGRAM's DIRECTIVE in an opened project, "" when unset.
std::string DirectiveValue(CSpiProject& project, const char* program, const char* directive) {
  std::string value;
  if (project.FindProgram(program) != 0 || project.GetValue(directive, value) != 0) return "";
  return value;
}

// The same in the project file, "" also when it cannot be opened.
std::string DirectiveValue(const std::string& projectFile, const char* program,
                           const char* directive) {
  CSpiProject project;
  return project.Open(projectFile) == 0 ? DirectiveValue(project, program, directive) : "";
}

// The first component of a relative folder value ("./rulex/run" gives "rulex"); "" for an
// absolute one, which lies outside the project's folder.
std::string FirstComponent(const std::string& value) {
  const fs::path path(value);
  if (value.empty() || path.is_absolute()) return "";
  for (const fs::path& part : path) {
    if (part != "." && !part.empty()) return part.string();
  }
  return "";
}

// A folder itself, not a link to one.
bool IsOwnFolder(const fs::path& path) {
  struct stat info = {};
  return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool FlowsWrite(const std::string& name, const std::set<std::string>& written) {
  auto startsWith = [&](const char* prefix) { return name.rfind(prefix, 0) == 0; };
  auto endsWith = [&](const std::string& suffix) {
    return name.size() >= suffix.size() &&
           name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0;
  };
  // temp, temp_sim_test, temp_ftb_test, temp_ftb_test_N; the temporary projects.
  return written.count(name) != 0 || startsWith("temp") || endsWith("_tmp.tak");
}

}  // namespace

std::string ProjectTempFolder(const std::string& projectFile) {
  std::error_code error;
  const fs::path project = fs::absolute(projectFile, error);
  std::string value = DirectiveValue(project.string(), "GLOBAL", "temp_dir");
  if (value.empty()) value = "temp";
  const fs::path folder(value);
  return (folder.is_absolute() ? folder : project.parent_path() / folder)
      .lexically_normal()
      .string();
}

std::optional<std::string> MakeScratchProject(const std::string& projectFile,
                                              const std::string& directory, std::string& error) {
  const fs::path project = ExistingProjectFile(projectFile, error);
  if (project.empty()) return std::nullopt;
  std::error_code code;
  const fs::path scratch = fs::absolute(directory, code);
  const fs::path projectDir = project.parent_path();
  if (fs::equivalent(scratch, projectDir, code)) {
    error = "the scratch folder " + directory + " is the project's own folder";
    return std::nullopt;
  }
  // A folder of its own is made again over what an earlier run left there (a worker's next
  // job): what a fresh copy holds stays, everything else goes. Anything else at its place (a
  // link, a file) is replaced.
  if (!IsOwnFolder(scratch)) fs::remove_all(scratch, code);
  fs::create_directories(scratch, code);
  if (code) {
    error = "cannot make the scratch folder " + directory + ": " + code.message();
    return std::nullopt;
  }
  const std::string stem = project.stem().string();
  std::set<std::string> written = {project.filename().string(), stem + ".sum", stem + ".log"};
  // Both folders from one reading of the project.
  std::string tempDir, runDir;
  if (CSpiProject settings; settings.Open(project.string()) == 0) {
    tempDir = DirectiveValue(settings, "GLOBAL", "temp_dir");
    runDir = DirectiveValue(settings, "RULEX", "rundir");
  }
  for (const std::string& value : {tempDir, runDir}) {
    if (std::string first = FirstComponent(value); !first.empty()) written.insert(first);
  }
  if (runDir.empty()) written.insert("rulex");
  // The links a fresh copy holds, by name: to each entry of the project's folder but what the
  // flows write there. The scratch folder may lie inside the project's folder (its temp
  // folder): never link a folder into itself.
  std::map<std::string, fs::path> links;
  for (const fs::directory_entry& entry : fs::directory_iterator(projectDir, code)) {
    const std::string name = entry.path().filename().string();
    if (FlowsWrite(name, written)) continue;
    if (scratch.string().rfind(entry.path().string() + "/", 0) == 0) continue;
    links.emplace(name, entry.path());
  }
  // The copy of the project file stays when it holds the project's bytes with its
  // permissions and has no other name; links stay where they lead as a fresh one would.
  const fs::path copy = scratch / project.filename();
  std::string projectText;
  const bool readProject =
      ReadRegularFile(project.string(), projectText) &&
      fs::status(project, code).permissions() == fs::symlink_status(copy, code).permissions();
  bool copied = false;
  std::vector<fs::path> doomed;
  for (const fs::directory_entry& entry : fs::directory_iterator(scratch, code)) {
    const auto link = links.find(entry.path().filename().string());
    std::error_code kept;
    if (link != links.end() && entry.is_symlink(kept) &&
        fs::read_symlink(entry.path(), kept) == link->second && !kept) {
      links.erase(link);
    } else if (entry.path() == copy && readProject && FileHolds(copy.string(), projectText)) {
      copied = true;
    } else {
      doomed.push_back(entry.path());
    }
  }
  for (const fs::path& entry : doomed) fs::remove_all(entry, code);
  for (const auto& [name, target] : links) {
    fs::create_symlink(target, scratch / name, code);
    if (code) {
      error = "cannot link " + target.string() + " into " + directory + ": " + code.message();
      return std::nullopt;
    }
  }
  if (!copied) {
    fs::copy_file(project, copy, code);
    if (code) {
      error = "cannot copy " + project.string() + " into " + directory + ": " + code.message();
      return std::nullopt;
    }
  }
  return copy.string();
}

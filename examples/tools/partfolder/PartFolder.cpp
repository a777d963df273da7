#include "PartFolder.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "libformat/LibraryTree.h"
#include "projectfile/CSpiProject.h"
#include "projectfile/SpiExpandVariables.h"
#include "projectfile/SpiLastMessage.h"

namespace fs = std::filesystem;

std::string ToolOptions::Get(const std::string& option) const {
  const auto found = values.find(option);
  return found == values.end() ? std::string() : found->second;
}

ToolOptions ParseToolOptions(int argc, char** argv, const std::vector<std::string>& flags) {
  ToolOptions options;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    const bool isFlag = std::find(flags.begin(), flags.end(), word) != flags.end();
    if (word.size() > 1 && word[0] == '-' && (isFlag || i + 1 < argc)) {
      options.values[word] = isFlag ? "" : argv[++i];
      options.order.push_back(word);
    } else {
      options.stray.push_back(word);
    }
  }
  return options;
}

void AppendStandinRecord(const char* tool, int argc, char** argv) {
  const char* file = std::getenv("KESTRA_STANDIN_LOG");
  if (file == nullptr || *file == '\0') return;
  nlohmann::json words = nlohmann::json::array();
  for (int i = 1; i < argc; ++i) words.push_back(argv[i]);
  std::error_code ec;
  const nlohmann::json record = {
      {"tool", tool}, {"arguments", words}, {"directory", fs::current_path(ec).string()}};
  std::ofstream(file, std::ios::app)
      << record.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace) << '\n';
}

void SetInstallRootFromTool() {
  if (std::getenv("QVD_INST_DIR")) return;
  std::error_code error;
  const fs::path self = fs::read_symlink("/proc/self/exe", error);
  if (!error) setenv("QVD_INST_DIR", self.parent_path().parent_path().parent_path().c_str(), 1);
}

namespace {

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

}  // namespace

std::optional<std::vector<std::string>> ProjectLibraries(const std::string& project) {
  CSpiProject spi;
  if (spi.Open(project) != 0) return std::nullopt;
  std::vector<std::string> names;
  if (spi.FindProgram("GLOBAL") != 0 || spi.FindDirective("library") != 0) return names;
  spi.RewindValues();
  for (std::string value; spi.GetNextValue(value) == 0;) names.push_back(value);
  return names;
}

std::optional<PartFolder> FindPartFolder(const std::string& project, const std::string& listFile,
                                         const std::string& library, const std::string& cell,
                                         std::string& error) {
  if (project.empty()) {
    error = "no project given (-proj)";
    return std::nullopt;
  }
  const auto libraries = ProjectLibraries(project);
  if (!libraries) {
    error = "cannot open the project \"" + project + "\": " + SpiLastMessage();
    return std::nullopt;
  }
  if (library.empty() || cell.empty()) {
    error = "no library and cell given (-lib, -cell)";
    return std::nullopt;
  }
  if (!libraries->empty() &&
      std::none_of(libraries->begin(), libraries->end(),
                   [&](const std::string& name) { return Lower(name) == Lower(library); })) {
    error = "library \"" + library + "\" is not a library of the project \"" + project + "\"";
    return std::nullopt;
  }
  PartFolder folder;
  folder.listFile =
      listFile.empty() ? (fs::path(project).parent_path() / "qvd.lib").string() : listFile;
  const LibraryTree tree(folder.listFile, SpiExpandVariables);
  const LibraryEntry* entry = tree.FindLibrary(library);
  if (entry == nullptr) {
    error = "library \"" + library + "\" is not listed in \"" + folder.listFile + "\"";
    return std::nullopt;
  }
  folder.libraryDir = entry->directory;
  folder.cellDir = (fs::path(entry->directory) / cell).string();
  std::error_code ignored;
  if (!fs::is_directory(folder.cellDir, ignored)) {
    error = "library \"" + library + "\" has no part \"" + cell + "\" (" + folder.cellDir + ")";
    return std::nullopt;
  }
  return folder;
}

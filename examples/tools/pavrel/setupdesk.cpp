// setupdesk, the stand-in for the layout editor's setup tool, started with
//   -proj "<project>"
// It prints the project's footprint search path (PSMPATH of PAVREL). With
// KESTRA_SETUPDESK_ADD_PSMPATH naming a folder it adds that folder to the path in the project
// file, as a user would in the real tool, so that the footprint dialog's refresh shows the
// change. Exit status 0, or 1 when the project could not be read or saved.
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>

#include "StandinRecord.h"
#include "projectfile/CSpiProject.h"
#include "projectfile/SpiLastMessage.h"

namespace {

std::string Option(int argc, char** argv, const std::string& name) {
  for (int i = 1; i + 1 < argc; ++i)
    if (argv[i] == name) return argv[i + 1];
  return "";
}

void PrintPath(CSpiProject& project) {
  std::cout << "setupdesk: PSMPATH";
  if (project.FindProgram("PAVREL") == 0 && project.FindDirective("PSMPATH") == 0) {
    project.RewindValues();
    for (std::string value; project.GetNextValue(value) == 0;) std::cout << " '" << value << "'";
  } else {
    std::cout << " not set";
  }
  std::cout << std::endl;
}

// The tool lives in <install root>/tools/bin; the project-file library finds the install's
// project file from the install root.
void FindInstallRoot() {
  if (const char* root = std::getenv("QVD_INST_DIR"); root && *root) return;
  std::error_code error;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
  if (!error)
    ::setenv("QVD_INST_DIR", program.parent_path().parent_path().parent_path().c_str(), 1);
}

}  // namespace

int main(int argc, char** argv) {
  RecordStandinStart("setupdesk", argc, argv);
  FindInstallRoot();
  const std::string projectFile = Option(argc, argv, "-proj");
  CSpiProject project;
  if (projectFile.empty() || project.Open(projectFile) != 0) {
    std::cout << "setupdesk: cannot read the project " << projectFile << ": " << SpiLastMessage()
              << std::endl;
    return 1;
  }
  PrintPath(project);
  const char* add = std::getenv("KESTRA_SETUPDESK_ADD_PSMPATH");
  if (!add || !*add) return 0;
  if (project.FindProgram("PAVREL") != 0) project.AddProgram("PAVREL");
  project.AddDirective("PSMPATH");
  if (project.AddValue(add) != 0 || project.Save() != 0) {
    std::cout << "setupdesk: cannot add " << add << " to PSMPATH: " << SpiLastMessage()
              << std::endl;
    return 1;
  }
  std::cout << "setupdesk: added " << add << " to PSMPATH" << std::endl;
  PrintPath(project);
  return 0;
}

#include "verify/packaging/PackagingSearchPath.h"

#include <dlfcn.h>

#include <cerrno>
#include <memory>

#include "projectfile/CSpiProject.h"

std::string LayoutSetupLibrary(const std::string& installRoot) {
  return installRoot + "/lib/libpvrlsetup.so";
}

std::string SearchTextOf(const std::vector<std::string>& folders) {
  std::string text;
  for (const std::string& folder : folders) text += " '" + folder + "' ";
  return text;
}

std::vector<std::string> ProjectFootprintPath(const std::string& projectFile) {
  CSpiProject project;
  if (project.Open(projectFile) != 0) return {};
  return ProjectFootprintPath(project);
}

std::vector<std::string> ProjectFootprintPath(CSpiProject& project) {
  std::vector<std::string> values;
  if (project.FindProgram("PAVREL") != 0 || project.FindDirective("PSMPATH") != 0) return values;
  project.RewindValues();
  for (std::string value; project.GetNextValue(value) == 0;) values.push_back(value);
  return values;
}

SetupLibraryPath FootprintPathFromSetupLibrary(const std::string& library) {
  SetupLibraryPath result;
  errno = 0;
  struct Closer {
    void operator()(void* handle) const { ::dlclose(handle); }
  };
  const std::unique_ptr<void, Closer> handle(::dlopen(library.c_str(), RTLD_NOW | RTLD_LOCAL));
  if (!handle) {
    // dlopen gives no error number of its own; errno holds the system's reason, if any.
    result.problem = "Failed to load library " + std::to_string(errno);
    return result;
  }
  auto* entry = reinterpret_cast<PvrlSetupFunction>(::dlsym(handle.get(), "PvrlSetup"));
  if (entry == nullptr) {
    result.problem = "The layout setup library " + library + " has no entry point PvrlSetup";
    return result;
  }
  if (const char* const* list = entry("PSMPATH")) {
    for (; *list != nullptr; ++list) result.folders.emplace_back(*list);
  }
  return result;
}

std::string LayoutSearchText(const std::string& projectFile, const std::string& setupLibrary,
                             std::string& problem) {
  return LayoutSearchText(ProjectFootprintPath(projectFile), setupLibrary, problem);
}

std::string LayoutSearchText(const std::vector<std::string>& projectFolders,
                             const std::string& setupLibrary, std::string& problem) {
  problem.clear();
  if (!projectFolders.empty()) return SearchTextOf(projectFolders);
  SetupLibraryPath fromLibrary = FootprintPathFromSetupLibrary(setupLibrary);
  problem = std::move(fromLibrary.problem);
  return SearchTextOf(fromLibrary.folders);
}

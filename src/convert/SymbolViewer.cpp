#include "convert/SymbolViewer.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "base/QuoteArgument.h"
#include "projectfile/CSpiProject.h"

namespace fs = std::filesystem;

std::string SymbolTempProjectPath(const std::string& projectDir, const std::string& projectName) {
  return projectDir + "temp/" + projectName + "_tmp.tak";
}

std::string SymbolSelectionArguments(const std::string& library, const std::string& cell,
                                     const std::string& view) {
  return " -lib " + QuoteIfNeeded(library) + " -cell " + QuoteIfNeeded(cell) + " -view " +
         QuoteIfNeeded(view);
}

namespace {

// Copies the project file onto the temporary project in the project's "temp" folder, which
// is not made here: without it the copy fails and nothing starts. "" on success, else why not.
std::string CopyToTempProject(const std::string& projectFile, const std::string& tempProject) {
  std::error_code error;
  fs::copy_file(projectFile, tempProject, fs::copy_options::overwrite_existing, error);
  if (!error) return "";
  return "Unable to copy the project file \"" + projectFile + "\" to the temp. project \"" +
         tempProject + "\": " + error.message();
}

}  // namespace

SymbolViewStage WriteSymbolTempProject(const std::string& tempProject, const std::string& library,
                                       bool standardExists) {
  CSpiProject project;
  if (project.Open(tempProject) != 0) return SymbolViewStage::LoadFailed;
  if (project.FindProgram("GLOBAL") != 0) project.AddProgram("GLOBAL");
  if (project.FindProgram("GLOBAL") != 0) return SymbolViewStage::NoGlobal;

  std::string designLibrary;
  if (project.FindDirective("design_library") == 0) {
    project.RewindValues();
    if (project.GetNextValue(designLibrary) != 0) designLibrary.clear();
  }
  // The chosen library first, so that the editor finds it before any namesake.
  std::vector<std::string> libraries = {library};
  const auto addOnce = [&libraries](const std::string& name) {
    if (!name.empty() && std::find(libraries.begin(), libraries.end(), name) == libraries.end())
      libraries.push_back(name);
  };
  addOnce(designLibrary);
  if (standardExists) addOnce("standard");

  if (project.FindDirective("library") != 0) project.AddDirective("library");
  if (project.FindDirective("library") == 0) {
    project.ClearValues();
    for (const std::string& name : libraries) project.AddValue(name);
  }
  return project.Save() == 0 ? SymbolViewStage::Ready : SymbolViewStage::ModifyFailed;
}

SymbolViewPlan PrepareSymbolView(const SymbolViewRequest& request) {
  SymbolViewPlan plan;
  const char* missing = request.library.empty() ? kSymbolNoLibrary
                        : request.cell.empty()  ? kSymbolNoCell
                        : request.view.empty()  ? kSymbolNoView
                                                : nullptr;
  if (missing != nullptr) {
    plan.stage = SymbolViewStage::NoSelection;
    plan.message = missing;
    return plan;
  }
  const std::string selection =
      SymbolSelectionArguments(request.library, request.cell, request.view);
  if (!request.referenceLibrary) {
    plan.arguments = " -proj " + QuoteArgument(request.projectFile) + selection;
    return plan;
  }

  plan.tempProject = SymbolTempProjectPath(request.projectDir, request.projectName);
  if (std::string why = CopyToTempProject(request.projectFile, plan.tempProject); !why.empty()) {
    // A project without a "temp" folder cannot take the temporary project: told as the
    // temporary project that could not be loaded. Anything else in its way is told as it is.
    std::error_code error;
    const bool noFolder = !fs::exists(fs::path(plan.tempProject).parent_path(), error);
    plan.stage = noFolder ? SymbolViewStage::LoadFailed : SymbolViewStage::CopyFailed;
    plan.message = noFolder ? kSymbolTempLoadFailed : why;
    return plan;
  }
  plan.stage = WriteSymbolTempProject(plan.tempProject, request.library, request.standardExists);
  switch (plan.stage) {
    case SymbolViewStage::LoadFailed:
      plan.message = kSymbolTempLoadFailed;
      return plan;
    case SymbolViewStage::NoGlobal:
    case SymbolViewStage::ModifyFailed:
      plan.message = kSymbolTempModifyFailed;
      break;
    default:
      break;
  }
  if (!plan.Launch()) return plan;
  plan.arguments = " -proj " + QuoteArgument(plan.tempProject) + " -qvdlib " +
                   QuoteArgument(request.projectDir + "refqvd.lib") + selection;
  return plan;
}

// What the symbol viewer hands the schematic editor: the argument text for a project library,
// and for a reference library the temporary project ("temp/<name>_tmp.tak") whose "library"
// directive names the chosen library, the design library and "standard", because the editor
// opens only libraries of the project it is given. Standard C++ only; UI thread (the
// project-file library's process-wide state is not thread safe).
#pragma once

#include <string>

struct SymbolViewRequest {
  std::string projectFile;
  std::string projectDir;  // ends in its separator
  std::string projectName;
  std::string library;
  std::string cell;
  std::string view;
  bool referenceLibrary = false;  // the browser's IsRefLibSelected
  bool standardExists = false;    // the browser's IsLibExisting("standard")
};

enum class SymbolViewStage {
  Ready,         // start the editor with the arguments
  NoSelection,   // a library, cell or view is missing: nothing started
  CopyFailed,    // the temporary project could not be made: nothing started
  LoadFailed,    // the temporary project could not be read back: nothing started
  ModifyFailed,  // the temporary project could not be saved: the editor still starts
  NoGlobal,      // the temporary project cannot take a GLOBAL section: nothing started
};

struct SymbolViewPlan {
  SymbolViewStage stage = SymbolViewStage::Ready;
  std::string arguments;    // the editor's argument text when it is to be started
  std::string tempProject;  // "" for a project library
  std::string message;      // what to tell the user, "" when nothing
  bool Launch() const {
    return stage == SymbolViewStage::Ready || stage == SymbolViewStage::ModifyFailed;
  }
};

inline constexpr const char* kSymbolNoLibrary = "Please select a library";
inline constexpr const char* kSymbolNoCell = "Please select a cell";
inline constexpr const char* kSymbolNoView = "Please select a symbol to be viewed";
inline constexpr const char* kSymbolTempLoadFailed =
    "Unable to load the created temp. project back in the memory";
inline constexpr const char* kSymbolTempModifyFailed =
    "Unable to modify the created temp. project for reference libraries";

// projectDir + "temp/" + projectName + "_tmp.tak".
std::string SymbolTempProjectPath(const std::string& projectDir, const std::string& projectName);

// ` -lib <lib> -cell <cell> -view <view>`: names bare, quoted only when they would split.
std::string SymbolSelectionArguments(const std::string& library, const std::string& cell,
                                     const std::string& view);

// Checks the selection, writes the temporary project for a reference library, and composes
// the argument text: ` -proj "<project>"` for a project library, ` -proj "<temp project>"
// -qvdlib "<projectDir>refqvd.lib"` for a reference library, then the selection.
SymbolViewPlan PrepareSymbolView(const SymbolViewRequest& request);

// Rewrites GLOBAL "library" of an existing temporary project: library, then the value of
// "design_library" when there is one, then "standard" when standardExists, each once.
// Returns the stage: Ready, LoadFailed, NoGlobal or ModifyFailed.
SymbolViewStage WriteSymbolTempProject(const std::string& tempProject, const std::string& library,
                                       bool standardExists);

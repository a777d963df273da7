// The packaging flow's own texts that are not composed from a report or a tool's argument:
// the selection rules of the dialog and the refusals of a run, shared by the dialog and the
// headless verb. Standard C++ only.
#pragma once

#include <string>

inline constexpr const char* kPackagingSelectLibrary = "Select a library/cell for verification";
inline constexpr const char* kPackagingOneLibrary =
    "Only one library can be selected for verification";
inline constexpr const char* kPackagingOneCell = "Only one cell can be selected for verification";
inline constexpr const char* kPackagingLongReport =
    "WARNING: To generate this report, verification has be run on each part separately. This "
    "may take a long time!";

// A pass/fail report over a library without parts has nothing to run.
inline std::string PackagingNoPartsText(const std::string& library) {
  return "The library " + library + " has no parts to verify";
}

// The packaging flow's refusals of a run that are not composed from a report or a tool's
// argument, shared by the run, the dialog and the headless verb (the dialog keeps the texts of
// its own selection rules). Standard C++ only.
#pragma once

#include <string>

inline constexpr const char* kPackagingOneCell = "Only one cell can be selected for verification";

// A pass/fail report over a library without parts has nothing to run.
inline std::string PackagingNoPartsText(const std::string& library) {
  return "The library " + library + " has no parts to verify";
}

// The footprint view's texts and files, composed once for the dialog and the headless verbs.
// Standard C++ only.
#pragma once

#include <string>

inline constexpr const char* kFootprintVerifyMode = "VerifyWithPavrel";
inline constexpr const char* kNoFootprintChosen = "Please specify a footprint";
inline constexpr const char* kVerifyFileFailed = "Unable to create verify file for PCB Editor";
inline constexpr const char* kDrawingNotFound =
    "Footprint can't be viewed as corresponding .dra file not found in the PSMPATH";
inline constexpr const char* kNoLocationChosen = "Please select the location of the footprint";
// What the verify file holds: the layout editor checks the symbol it opens.
inline constexpr const char* kVerifyFileText = "check symbol";

// projectDir (ending in its separator) + "temp/pavrel_verify.txt".
std::string FootprintVerifyFilePath(const std::string& projectDir);

// Writes kVerifyFileText (no line end) as the file at path, replacing what is there. The text
// goes to a new file in the same folder that then takes the name, so a symbolic link planted
// at path is replaced, never followed. The folder is not created. False when it cannot be
// written (the folder is missing, not writable, ...).
bool WriteFootprintVerifyFile(const std::string& path);

// " -proj " + the project file in double quotes: the layout editor's setup tool.
std::string SetupDeskArguments(const std::string& project);

// The name of the drawing searched for a footprint: name + ".dra".
std::string FootprintDrawingName(const std::string& name);

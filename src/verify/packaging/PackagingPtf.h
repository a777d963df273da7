// The ptf directive file of a packaging run ("temp/ptf.txt" below the project directory):
// the project's part-table directives of GLOBAL, one line per directive, for the packaging
// tool's -ptfdirectivefile. Standard C++ only; UI thread (the project-file library keeps a
// process-wide last message).
#pragma once

#include <optional>
#include <string>
#include <vector>

// The content of a directive file is limited to this many bytes.
inline constexpr std::size_t kPtfFileLimit = 4096;

// A "ppt" value made absolute against directory (the project directory during a run):
// a leading "$NAME" or "%NAME%" is replaced by the variable's value (left as it is when the
// variable is not set); a relative value is joined to directory (a drive letter without a
// separator and a leading "./" dropped, one trailing separator dropped from a value that
// begins with '.'); then every '/' becomes '\'.
std::string AbsolutePptValue(const std::string& value, const std::string& directory);

struct PtfContent {
  std::string text;
  // The pieces (a directive name, or one quoted value) that would have made the file reach
  // kPtfFileLimit bytes and were left out.
  std::vector<std::string> leftOut;
};

// The directives "use_library_ppt", "ppt", "exclude_ppt" and "include_ppt" of GLOBAL, in
// this order, each present one as "name 'v1' 'v2' \n" ("ppt" values made absolute against
// directory). Empty text when GLOBAL has none of them or is missing; nullopt when the project
// file cannot be opened.
std::optional<PtfContent> ComposePtfContent(const std::string& projectFile,
                                            const std::string& directory);

class CSpiProject;

// The same from a project already opened.
PtfContent ComposePtfContent(CSpiProject& project, const std::string& directory);

// The directive file of a run in project directory D (ending in its separator): writes
// D + "temp/ptf.txt" anew (owner read and write) with ComposePtfContent, creating D + "temp"
// when needed. Returns the file's path, or "" when the project cannot be opened or the file
// cannot be written. leftOut receives what the size limit left out.
std::string WritePtfFile(const std::string& projectFile, const std::string& projectDir,
                         std::vector<std::string>& leftOut);

// The same with the content composed already (nullopt: the project could not be opened).
std::string WritePtfFile(const std::optional<PtfContent>& content, const std::string& projectDir,
                         std::vector<std::string>& leftOut);

// What to tell the user about pieces the limit left out ("" when none).
std::string PtfLeftOutText(const std::vector<std::string>& leftOut);

// The texts of a packaging run: the status line of the progress dialog, the argument texts
// of "cellpack" and "tes2tes", and the names they are composed from. Standard C++ only;
// pure functions, any thread.
#pragma once

#include <string>
#include <vector>

#include "verify/packaging/PackagingOptions.h"

// The last component of a library path: the text after the last '/', '\' or ':'.
std::string LibraryNameOfPath(const std::string& libraryPath);
// The library path without its last component: before the last '/', else before the last
// '\', else up to and including the first ':', else "./".
std::string LibraryParentOfPath(const std::string& libraryPath);

// The progress dialog's status line: "Library : L", "Library : L,  Part : C" or
// "Library : L, Parts : Multiple".
std::string PackagingStatusLine(PackagingRunMode mode, const std::string& library,
                                const std::string& cell);

// A word in double quotes, escaped so that it arrives intact as one word: the launcher splits
// argument texts by the Windows rules, where a quote preceded by an odd number of backslashes
// is a literal quote and backslashes before a quote are halved.
std::string QuotedWord(const std::string& word);
// A word as it is, or quoted as above when it holds a blank, a tab or a quote.
std::string ArgumentWord(const std::string& word);

// The cell text of a several-parts run: each part's file name followed by one space.
std::string SeveralPartsCellText(const std::string& libraryPath,
                                 const std::vector<std::string>& cells);

struct PackagerCommand {
  std::string libraryPath;  // the selected library's directory
  PackagingRunMode mode = PackagingRunMode::Library;
  std::string cellText;  // one part's file name, or the several-parts text; "" for a library
  std::uint16_t options = 0;
  std::string searchText;  // the layout search text (" 'dir' " per folder), "" when none
  std::string ptfFile;     // the ptf directive file, "" when none is passed
};

// The argument text of "cellpack":
//   -libdir "PARENT" -lib LIB [-cell CELLS] -page d [ -netrev -PSMPATH SEARCH]
//   [ -ptfdirectivefile "PTF"] followed by one space.
std::string PackagerArguments(const PackagerCommand& command);

// The packaging tool of an installation: ROOT + "/tools/libutil/cellpack.exe".
std::string PackagerTool(const std::string& installRoot);
inline constexpr const char* kConsistencyTool = "tes2tes.exe";

// The argument text of "tes2tes": -product "ARCHIVIST_PLUS" -proj "P" -qvdlib "Q" -lib "L"
// [-cell "C"] -verifyonly, then " -ignoreFootprint" without kUptoBoard and " -ignorePTF"
// without kUseProjectPtfFiles.
std::string ConsistencyArguments(const std::string& projectFile, const std::string& listFile,
                                 const std::string& library, const std::string& cell,
                                 std::uint16_t options);

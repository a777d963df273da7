// `kestra libs` and `kestra footprints`: the project's libraries and footprints as text, read
// through the suite's outside components (C5XBrowserData, CFootprint and CFilter), as the
// dialogs read them. Standard C++; one thread.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// Lists projectFile's libraries (qvd.lib) and reference libraries (refqvd.lib) with their
// cells on out; problems (missing list file, bad line, missing directory) go to err.
// Returns 0 when everything could be read, 1 when something was reported.
int ListProjectLibraries(const std::string& projectFile, std::ostream& out, std::ostream& err);

// `kestra footprints -proj FILE [-filter PATTERN]`: one line per footprint (name and folder)
// on out, skipped folders on err. 0 listed, 1 the project cannot be read, 2 usage.
int ListFootprints(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

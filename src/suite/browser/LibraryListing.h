// The libraries and cells of a project as the browser sees them, as text (kestra libs).
#pragma once

#include <iosfwd>
#include <string>

// Lists projectFile's libraries (qvd.lib) and reference libraries (refqvd.lib) with their
// cells on out; problems (missing list file, bad line, missing directory) go to err.
// Returns 0 when everything could be read, 1 when something was reported.
int ListProjectLibraries(const std::string& projectFile, std::ostream& out, std::ostream& err);

// Nimra, the suite's name mapper: turns a library or cell name into the name of its file or
// folder on disk. Standard C++; any thread; no state.
//
// nimraMapper runs the first conversion (the design tool's name to an identifier), then the
// second (the identifier to a file-system name) and leaves the result in `out`. It returns
// &out, or nullptr when either conversion refuses the name; the caller may change the text
// in place (MapLibraryName lower-cases it).
#pragma once

#include <string>

// One conversion step: false when the name cannot be converted (`out` is then unspecified).
using nimraConversion = bool (*)(const std::string& in, std::string& out);

// Accepts a name as an identifier: refuses an empty name, "." and "..", and names holding a
// "/" or a NUL character; other names pass unchanged.
bool nimraTesselToIdent(const std::string& name, std::string& ident);

// The identifier as a Unix file name: letters, digits, "_", "-" and "." stay as they are;
// every other byte becomes "%" and two lower-case hexadecimal digits. Refuses an empty
// identifier and a result longer than 255 bytes.
bool nimraIdentToLibraryUnix(const std::string& ident, std::string& fileName);

// flags: reserved, callers pass 0.
std::string* nimraMapper(nimraConversion toIdent, nimraConversion toFileName,
                         const std::string& name, int flags, std::string& out);

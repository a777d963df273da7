// The waiver file of a run: named by -waivers FILE, else by the project file's GLOBAL
// directive verify_waivers (relative to the project's folder); read whole before anything
// runs, and added to one entry at a time under the project-file library's exclusive lock, so
// that two `kestra waive` at once both keep their entry. Standard C++ and POSIX; one thread.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "verify/Waivers.h"

// The project file's directive that names its waiver file.
inline constexpr const char* kWaiversDirective = "verify_waivers";

// The waiver file: given when not "", else the one projectFile names (absolute), else "".
std::string WaiverFileOf(const std::string& given, const std::string& projectFile);

// The waivers of file, or nullopt with the reason ("FILE:LINE: why", "cannot read FILE: why")
// in error.
std::optional<std::vector<Waiver>> ReadWaiverFile(const std::string& file, std::string& error);

// Appends waiver to file (made when missing): the file is locked exclusively, read, checked,
// and replaced atomically with the entry added. false with the reason in error.
bool AddWaiver(const std::string& file, const Waiver& waiver, std::string& error);

// `kestra waive -rule R -lib L -cell C [-object O] -reason TEXT [-author NAME]
// [-expires YYYY-MM-DD] (-waivers FILE | -proj FILE.tak)`: 0 added, 2 for a usage error or a
// file that cannot be read or written.
int RunWaiveVerb(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

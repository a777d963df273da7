// What the rules-checker flow reads from and writes into project files, through a fresh
// CSpiProject per use. Standard C++ only; UI thread (the project-file library's process-wide
// state is not thread safe).
#pragma once

#include <optional>
#include <string>
#include <vector>

// The first value of directive "rundir" of program "RULEX" for projectFile; none when the
// project cannot be opened or has no such program, directive or value.
std::optional<std::string> ReadRulexRunDirectory(const std::string& projectFile);

// Rewrites the GLOBAL directives of the temporary project file: "library" becomes the given
// libraries (already mapped to their on-disk names), and when designLibrary is not empty
// "design_library" becomes it and "design_name" becomes designName (when that is not empty;
// an empty designName keeps the copied values). GLOBAL and the directives are created when
// missing. A value refused by control settings is explained in tak.log and does not stop
// the update. True when the project could be opened and saved.
bool UpdateTempProject(const std::string& tempProject, const std::string& designLibrary,
                       const std::string& designName, const std::vector<std::string>& libraries);

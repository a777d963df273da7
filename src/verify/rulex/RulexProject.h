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

// What the control settings kept of a temporary project's rewrite: the directives whose
// values were refused (they keep the locked values) and the log that explains each refusal.
struct KeptDirectives {
  std::vector<std::string> names;
  std::string logPath;
};

// Rewrites the GLOBAL directives of the temporary project file: "library" becomes the given
// libraries (already mapped to their on-disk names), and when designLibrary is not empty
// "design_library" becomes it and "design_name" becomes designName (when that is not empty;
// an empty designName keeps the copied values). GLOBAL and the directives are created when
// missing. A change refused by control settings is explained in tak.log and does not stop
// the update; the directive is named in kept (when given). True when the project could be
// opened and saved.
bool UpdateTempProject(const std::string& tempProject, const std::string& designLibrary,
                       const std::string& designName, const std::vector<std::string>& libraries,
                       KeptDirectives* kept = nullptr);

// The note shown while a run goes on with locked values: which directives the lock kept and
// where the log explains it; "" when nothing was kept.
std::string KeptDirectivesNote(const KeptDirectives& kept);

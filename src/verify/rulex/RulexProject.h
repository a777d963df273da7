// What the rules-checker flow reads from and writes into project files, through one
// CSpiProject a run. Standard C++ only; UI thread (the project-file library's process-wide
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

// What a run takes from the project besides its temporary project.
struct RulexProjectSettings {
  // The first value of directive "rundir" of program "RULEX"; none when the project has no
  // such program, directive or value.
  std::optional<std::string> runDirectory;
  KeptDirectives kept;  // the directives the control settings kept
};

// Opens projectFile once and writes the temporary project from it (the project file itself is
// left as it is): the project's settings with the GLOBAL directive "library" made the given
// libraries (already mapped to their on-disk names), and when designLibrary is not empty
// "design_library" made it and "design_name" made designName (when that is not empty; an
// empty designName keeps the project's values). GLOBAL and the directives are created when
// missing. A change refused by control settings is explained in tak.log and does not stop
// the run; the directive is named in settings.kept. The run directory comes from the same
// reading. True when the project could be opened and the temporary project written.
bool WriteTempProject(const std::string& projectFile, const std::string& tempProject,
                      const std::string& designLibrary, const std::string& designName,
                      const std::vector<std::string>& libraries, RulexProjectSettings& settings);

// The note shown while a run goes on with locked values: which directives the lock kept and
// where the log explains it; "" when nothing was kept.
std::string KeptDirectivesNote(const KeptDirectives& kept);

// The rules-checker request for a project and a selection, shared by the dialog (from its
// command object) and `kestra verify rulex` (from the project file it was given).
#pragma once

#include <string>
#include <vector>

#include "verify/rulex/RulexRun.h"

class CKestraCmdContext;

// The on-disk name of a library or cell; the name as selected when it cannot be mapped.
std::string MappedOrSelected(const std::string& name);

// library: the library to check, as selected (mapped here); cell: the one cell or "";
// selectedLibraries: every library the selection holds, as selected (mapped here);
// rules: a rule list (MakeRuleList).
// projectDir ends in its separator; projectName is the file's name without its extension.
RulexRequest RulexRequestFor(const std::string& projectFile, const std::string& projectDir,
                             const std::string& projectName, const std::string& library,
                             const std::string& cell,
                             const std::vector<std::string>& selectedLibraries,
                             bool referenceLibrary, const std::vector<int>& rules);

// The same for the command object's project. UI thread (it reads the command object).
RulexRequest RulexRequestFor(const CKestraCmdContext& command, const std::string& library,
                             const std::string& cell,
                             const std::vector<std::string>& selectedLibraries,
                             bool referenceLibrary, const std::vector<int>& rules);

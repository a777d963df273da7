// The rules-checker request for a command object's project and a selection, shared by the
// dialog and `kestra verify rulex`. UI thread (it reads the command object).
#pragma once

#include <string>
#include <vector>

#include "verify/rulex/RulexFlow.h"

class CKestraCmdContext;

// The on-disk name of a library or cell; the name as selected when it cannot be mapped.
std::string MappedOrSelected(const std::string& name);

// mappedLibrary: the library to check, already mapped; cell: the one cell or "";
// selectedLibraries: every library the selection holds, as selected (mapped here);
// rules: a rule list (MakeRuleList).
RulexRequest RulexRequestFor(const CKestraCmdContext& command, const std::string& mappedLibrary,
                             const std::string& cell,
                             const std::vector<std::string>& selectedLibraries,
                             bool referenceLibrary, const std::vector<int>& rules);

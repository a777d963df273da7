// The verbs the host runs itself, without loading the module: standard C++ and POSIX, no Qt,
// so that a script or a `kestra verify all` job pays only for the work it asks for. The
// others go to the module (KestraRunVerb).
#pragma once

#include <optional>
#include <string>
#include <vector>

// `kestra verify FLOW ...` for a flow that runs without the module (the rules checker), as
// the module would run it; nullopt for any other flow, which the module runs.
std::optional<int> RunVerifyInHost(const std::vector<std::string>& words);

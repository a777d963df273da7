// What the host runs itself, without loading any library of its own: standard C++ and POSIX,
// no Qt, linked into the program, so that the most frequent verb starts as fast as the program
// can. The other verbs go to the headless library (HeadlessRunners.h) or the module.
#pragma once

#include <optional>
#include <string>
#include <vector>

// `kestra verify FLOW ...` for a flow that runs without the module (the rules checker), as
// the module would run it; nullopt for any other flow, which the module runs.
std::optional<int> RunVerifyInHost(const std::vector<std::string>& words);

// What the host runs itself, without loading any library of its own: standard C++ and POSIX,
// no Qt, linked into the program, so that the most frequent verb starts as fast as the program
// can. The other verbs go to the headless library (HeadlessRunners.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

// `kestra verify FLOW ...` for the flow linked into the host (the rules checker), as the
// headless library would run it; nullopt for any other flow, which that library runs.
std::optional<int> RunVerifyInHost(const std::vector<std::string>& words);

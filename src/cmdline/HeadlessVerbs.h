// The verbs the host runs itself, without loading the module: standard C++ and POSIX, no Qt,
// so that a script or a `kestra verify all` job pays only for the work it asks for. The
// others go to the module's entry points (KestraEntryPoints.h).
#pragma once

#include <string>
#include <vector>

// True when the words after `kestra verify` name a flow that runs without the module (the
// rules checker).
bool VerifiesWithoutModule(const std::vector<std::string>& words);

// `kestra verify FLOW ...` for such a flow, as KestraVerifyMain runs it.
int KestraHeadlessVerifyMain(const std::vector<std::string>& words);

// `kestra verify [FLOW [OPTIONS]]`: finds the flow in the registry, takes the options every
// flow shares (-json, -junit FILE, -help/-h/--help), runs it and writes its results as text,
// JSON and JUnit. Standard C++ only; UI thread (the flows need a QApplication).
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "verify/VerifyFlow.h"

// The exit status: by the worst verdict (0 passed, 3 passed with warnings, 1 failed, 2 status
// unknown or not run); 2 for a usage error; 0 for a help or the flow list.
int RunVerifyVerb(const std::vector<std::string>& words, std::span<const VerifyFlow> flows,
                  std::ostream& out, std::ostream& err);

// "usage: kestra verify FLOW ..." with every flow's summary: what `kestra verify` prints.
std::string VerifyFlowList(std::span<const VerifyFlow> flows);

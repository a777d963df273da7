// How a signal that ended a process is told to the user: "signal 9 (Killed)". Standard C++
// and POSIX; any thread.
#pragma once

#include <string>

std::string SignalText(int signal);

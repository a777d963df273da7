// The commands that only start a tool (a sibling tool or a converter), and the preparation
// every command makes before it runs. Standard C++ and POSIX: the host runs the tool commands
// without Qt, through the headless library; the module's command object, which starts the
// same tools through its launcher, prepares its commands with the same functions. UI thread
// (the preparation changes the process environment).
#pragma once

#include <functional>
#include <string>
#include <string_view>

// A command's values as the host hands them over.
struct CommandValues {
  std::string product;
  std::string project;
  std::string mode;
  std::string mpsSession;
  std::string mpsHost;
};

// Tells the user something: a plain message, or an error when error is true.
using CommandTeller = std::function<void(const std::string& text, bool error)>;

// Puts the suite's Java runtime in front of PATH (SearchPath.h); tells the user when PATH
// cannot be read or set, and the command still runs.
void PutJavaRuntimeOnPath(const CommandTeller& tell);

// Why a command must not run because one of its values (project, product, message server)
// would not reach a tool as the same words: the message for the user, or "".
std::string RefusedValue(const CommandValues& values);

// True when a and b name the same command: case does not matter ("libVUE" is "Libvue").
bool SameCommandName(std::string_view a, std::string_view b);

// What RunToolCommand did.
enum class ToolCommandOutcome { kNotAToolCommand, kStarted, kNotStarted };

// Runs such a command as the module's command table does: prepares it, composes the tool's
// texts and starts the tool detached, telling the user why when it cannot (a value refused,
// the tool missing or failing to start: kNotStarted). Nothing is done when mode names no tool
// command.
ToolCommandOutcome RunToolCommand(const CommandValues& values, const CommandTeller& tell);

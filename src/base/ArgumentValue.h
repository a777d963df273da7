// Whether a value (a path, a library or cell name, a product) can travel inside a tool's
// argument text as exactly one word. Argument texts are split by the Windows command-line
// rules (double quotes group, backslashes before a quote escape it), so a value holding a
// double quote, a blank where it is not quoted, a line break or a trailing backslash before
// the closing quote would change the words the tool receives: an option could be injected.
// Every composer asks before it starts anything. Standard C++ only; any thread.
#pragma once

#include <string>

// "" when value fits; else why not, in words for the user ("it holds a double quote").
// quoted: the text puts the value between double quotes.
std::string ArgumentValueProblem(const std::string& value, bool quoted);

// "" when name (a library or cell name) can be given to a tool whose words cannot hold every
// name, as the simulation and packaging tools' cannot: such a tool takes a word that begins
// with '-' for an option (a cell named -sim would switch the simulation off), and passes on
// quotes, backslashes and control characters altered. Else why not, in words for the user
// ("it begins with '-'").
std::string ToolNameProblem(const std::string& name);

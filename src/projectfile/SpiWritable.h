// What the project-file format can hold. The format has no escapes: a line break ends a line,
// a quoted text ends at its next quote, a word alone on a line is read in upper case with a
// comment cut off, and a section ends at its end line. These checks refuse names and values
// that would be written so that reading them back gives something else (or breaks the file),
// before anything is written.
#pragma once

#include <string>
#include <string_view>

class CSpiProgramList;

// Why a program name cannot be written and read back: "" when it can, else the reason
// ("it holds a blank or a tab"). A name ending in "_CONTROL_SETTINGS" can head only a
// control-settings section.
std::string SpiProgramNameProblem(std::string_view name, bool controlSection = false);

// Why a directive name cannot be written in a section whose end line is endLine, on a line of
// its own (withValues false) or followed by values. "" when it can.
std::string SpiDirectiveNameProblem(std::string_view name, std::string_view endLine,
                                    bool withValues);

// Why a value cannot be written. "" when it can.
std::string SpiValueProblem(std::string_view value);

// The first name or value of level (2 project, 3 user) that a save could not write so that it
// reads back the same, as a sentence; "" when everything can be written.
std::string SpiLevelProblem(const CSpiProgramList& programs, int level);

// A text for a message: control characters shown as \n, \r, \t or \xHH, so that a message
// stays on its lines and carries no terminal escapes.
std::string SpiShown(std::string_view text);

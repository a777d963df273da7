// The command table of CKestraCmdLine: the 21 command names in their order and what each
// does. A mode matches a name without regard to case, whole text against whole text; the
// first match in table order wins. Any thread; the actions run on the UI thread.
#pragma once

#include <span>
#include <string_view>

class CKestraCmdLine;

struct CommandEntry {
  const char* name;
  void (*run)(CKestraCmdLine& command);
  bool opensDialog = false;  // a modal dialog: needs a display and somebody to answer it
};

std::span<const CommandEntry> CommandTable();
// The entry for mode, or null when no name matches.
const CommandEntry* FindCommand(std::string_view mode);

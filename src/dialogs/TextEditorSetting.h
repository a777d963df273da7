// The text editor the project names for viewing logs: the first value of "text_editor" of
// program "GLOBAL" in the project's layered files, with environment variables expanded.
// Read afresh at every call, so an edited setting takes effect at once. UI thread only.
#pragma once

#include <string>

class CKestraCmdContext;
class CToolLauncher;

// True and the editor when the project file opens, has "GLOBAL" and gives "text_editor".
bool ReadTextEditor(const CKestraCmdContext& command, std::string& editor);

// The editor to start: the project's, else "notepad.exe" (the launcher maps that name to the
// platform's editor).
std::string TextEditorOrDefault(const CKestraCmdContext& command);

// Opens a file in the project's text editor through the launcher; the path is passed in
// double quotes. The start's result is not examined.
void ViewFileInTextEditor(const CKestraCmdContext& command, CToolLauncher& launcher,
                          const std::string& path);

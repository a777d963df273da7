// The single-library rule of the verification dialogs: a flow verifies one library of the
// browser's selection. UI thread (it may show a message box).
#pragma once

#include <string>

class C5XBrowserUI;

// The one library selected in the browser. When none or several are selected, says so in a
// message box with flags (noneSelected is the flow's own text for none) and returns "".
std::string SingleSelectedLibrary(C5XBrowserUI& browser, const char* noneSelected, unsigned flags);
std::string SingleSelectedLibrary(C5XBrowserUI& browser, const char* noneSelected);

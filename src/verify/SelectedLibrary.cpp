#include "verify/SelectedLibrary.h"

#include <vector>

#include "framework/Prompter.h"
#include "outside/C5XBrowserUI.h"

std::string SingleSelectedLibrary(C5XBrowserUI& browser, const char* noneSelected, unsigned flags) {
  std::vector<std::string> libraries;
  browser.GetSelectedLibList(libraries);
  if (libraries.size() == 1) return libraries.front();
  AfxMessageBox(
      libraries.empty() ? noneSelected : "Only one library can be selected for verification",
      flags);
  return "";
}

std::string SingleSelectedLibrary(C5XBrowserUI& browser, const char* noneSelected) {
  return SingleSelectedLibrary(browser, noneSelected, MB_OK);
}

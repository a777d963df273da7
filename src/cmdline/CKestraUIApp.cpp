#include "cmdline/CKestraUIApp.h"

#include "outside/GridControl.h"

namespace {
// The system default language of the grid library.
constexpr unsigned kDefaultLanguage = 0x0800;

// The one application object: constructed when the shared library is loaded.
const CKestraUIApp theApp;
}  // namespace

CKestraUIApp::CKestraUIApp() { InitInstance(); }

bool CKestraUIApp::InitInstance() {
  GXInit(kDefaultLanguage, nullptr, nullptr);
  return true;
}

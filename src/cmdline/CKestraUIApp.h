// The module's application object: exactly one, created when the module is loaded. Its
// initialisation sets up the grid library once. UI thread.
#pragma once

#include "cmdline/KestraExport.h"

class KESTRA_EXPORT CKestraUIApp {
 public:
  CKestraUIApp();
  CKestraUIApp(const CKestraUIApp&) = delete;
  CKestraUIApp& operator=(const CKestraUIApp&) = delete;

  bool InitInstance();
};

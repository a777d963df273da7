// KestraCore's context help.
#pragma once

#include "outside/SuiteExport.h"

class KESTRA_SUITE_API CLHelpHandler {
 public:
  // Shows help topic `topic`. UI thread only.
  static void InvokeHelp(unsigned topic);
};

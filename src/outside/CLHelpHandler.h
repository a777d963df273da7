// KestraCore's context help.
#pragma once

class CLHelpHandler {
 public:
  // Shows help topic `topic`. UI thread only.
  static void InvokeHelp(unsigned topic);
};

// The command object the host uses to drive the module: one object per command.
//
// The host constructs it, calls the setters, then ExecuteCmd on its UI thread, then destroys
// it. Its state, getters and launcher are those of CKestraCmdContext, which the dialogs and
// converter objects it runs receive (non-owning) while they run.
#pragma once

#include "cmdline/KestraExport.h"
#include "context/CKestraCmdContext.h"

class KESTRA_EXPORT CKestraCmdLine : public CKestraCmdContext {
 public:
  CKestraCmdLine();
  ~CKestraCmdLine() override;

  void LUMldsetup_initialize();

  // Runs the command named by the mode.
  void ExecuteCmd();
};

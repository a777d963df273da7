// The command object the host uses to drive the module: one object per command.
//
// The host constructs it, calls the setters, then ExecuteCmd on its UI thread, then destroys
// it. The object owns its launcher; the dialogs and converter objects it runs hold
// non-owning pointers to the object and the launcher while they run.
#pragma once

#include <string>

#include "CToolLauncher.h"

class CKestraCmdLine {
 public:
  CKestraCmdLine();
  virtual ~CKestraCmdLine();
  CKestraCmdLine(const CKestraCmdLine&) = delete;
  CKestraCmdLine& operator=(const CKestraCmdLine&) = delete;

  void LUMldsetup_initialize();
  int SetProduct(std::string product);
  void SetProject(std::string project);
  void SetMode(std::string mode);
  void SetMpsSession(std::string session);
  void SetMpsHost(std::string host);

  std::string GetProduct() const { return product_; }
  std::string GetProject() const { return project_; }
  std::string GetProjectPath() const { return projectPath_; }
  std::string GetProjectName() const { return projectName_; }
  std::string GetMode() const { return mode_; }
  std::string GetMpsSession() const { return mpsSession_; }
  std::string GetMpsHost() const { return mpsHost_; }

  CToolLauncher* GetLauncher() { return &launcher_; }

  // Runs the command named by the mode.
  void ExecuteCmd();

 private:
  CToolLauncher launcher_;
  std::string project_;
  std::string projectPath_;
  std::string projectName_;
  std::string product_;
  std::string mode_;
  std::string mpsSession_;
  std::string mpsHost_;
};

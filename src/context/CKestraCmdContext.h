// The command object's state as the dialogs, flows and converters see it: product, project
// file with its directory and name, mode, message-server session and host, and the launcher.
//
// CKestraCmdLine (the module's exported command object) is one of these with the command
// table on top; the headless verbs make one of their own. The object owns its launcher; the
// dialogs and converter objects of a command hold non-owning pointers to both while they
// run. UI thread only.
#pragma once

#include <string>

#include "outside/CToolLauncher.h"

class CKestraCmdContext {
 public:
  CKestraCmdContext();
  virtual ~CKestraCmdContext();
  CKestraCmdContext(const CKestraCmdContext&) = delete;
  CKestraCmdContext& operator=(const CKestraCmdContext&) = delete;

  int SetProduct(std::string product);
  // Also derives the project directory (ending in its separator) and the project name.
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

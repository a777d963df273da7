#include "CKestraCmdLine.h"

#include "CFilePath.h"
#include "CommandTable.h"
#include "Prompter.h"
#include "SearchPath.h"
#include "mldsetup.h"
#include "qvdCommon.h"

CKestraCmdLine::CKestraCmdLine() { Mldsetup_initialize(); }

CKestraCmdLine::~CKestraCmdLine() = default;

void CKestraCmdLine::LUMldsetup_initialize() { Mldsetup_initialize(); }

int CKestraCmdLine::SetProduct(std::string product) {
  product_ = std::move(product);
  return 1;
}

void CKestraCmdLine::SetProject(std::string project) {
  project_ = std::move(project);
  CFilePath paths;
  paths.GetProjPathFromName(project_, projectPath_);
  paths.GetFileName(project_, projectName_, 0);
}

void CKestraCmdLine::SetMode(std::string mode) { mode_ = std::move(mode); }

void CKestraCmdLine::SetMpsSession(std::string session) { mpsSession_ = std::move(session); }

void CKestraCmdLine::SetMpsHost(std::string host) { mpsHost_ = std::move(host); }

void CKestraCmdLine::ExecuteCmd() {
  switch (PrefixJavaRuntime(qvdGetInstallRoot())) {
    case SearchPathResult::kUnreadable:
      AfxMessageBox("Unable to get path environment variable for java installation");
      break;
    case SearchPathResult::kUnsettable:
      AfxMessageBox("Unable to set path to java installation");
      break;
    case SearchPathResult::kPrefixed:
      break;
  }
  if (const CommandEntry* entry = FindCommand(mode_)) {
    entry->run(*this);
  } else {
    AfxMessageBox("Unknown Command Line Option Specified.");
  }
}

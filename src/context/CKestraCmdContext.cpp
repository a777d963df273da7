#include "context/CKestraCmdContext.h"

#include "outside/CFilePath.h"

CKestraCmdContext::CKestraCmdContext() = default;

CKestraCmdContext::~CKestraCmdContext() = default;

int CKestraCmdContext::SetProduct(std::string product) {
  product_ = std::move(product);
  return 1;
}

void CKestraCmdContext::SetProject(std::string project) {
  project_ = std::move(project);
  CFilePath paths;
  paths.GetProjPathFromName(project_, projectPath_);
  paths.GetFileName(project_, projectName_, 0);
}

void CKestraCmdContext::SetMode(std::string mode) { mode_ = std::move(mode); }

void CKestraCmdContext::SetMpsSession(std::string session) { mpsSession_ = std::move(session); }

void CKestraCmdContext::SetMpsHost(std::string host) { mpsHost_ = std::move(host); }

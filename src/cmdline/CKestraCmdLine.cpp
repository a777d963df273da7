#include "cmdline/CKestraCmdLine.h"

#include "base/qvdCommon.h"
#include "cmdline/CommandTable.h"
#include "cmdline/SearchPath.h"
#include "framework/Prompter.h"
#include "outside/mldsetup.h"

CKestraCmdLine::CKestraCmdLine() { Mldsetup_initialize(); }

CKestraCmdLine::~CKestraCmdLine() = default;

void CKestraCmdLine::LUMldsetup_initialize() { Mldsetup_initialize(); }

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
  if (const CommandEntry* entry = FindCommand(GetMode())) {
    entry->run(*this);
  } else {
    AfxMessageBox("Unknown Command Line Option Specified.");
  }
}

#include "cmdline/CKestraCmdLine.h"

#include "cmdline/CommandTable.h"
#include "cmdline/ToolCommands.h"
#include "framework/Prompter.h"
#include "outside/mldsetup.h"

CKestraCmdLine::CKestraCmdLine() { Mldsetup_initialize(); }

CKestraCmdLine::~CKestraCmdLine() = default;

void CKestraCmdLine::LUMldsetup_initialize() { Mldsetup_initialize(); }

void CKestraCmdLine::ExecuteCmd() {
  PutJavaRuntimeOnPath([](const std::string& text, bool error) {
    AfxMessageBox(text, error ? MB_ICONERROR : MB_OK);
  });
  if (const CommandEntry* entry = FindCommand(GetMode())) {
    const CommandValues values{GetProduct(), GetProject(), GetMode(), GetMpsSession(),
                               GetMpsHost()};
    if (std::string refusal = RefusedValue(values); !refusal.empty()) {
      AfxMessageBox(refusal, MB_ICONERROR);
      return;
    }
    entry->run(*this);
  } else {
    AfxMessageBox("Unknown Command Line Option Specified.");
  }
}

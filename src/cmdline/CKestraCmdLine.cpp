#include "cmdline/CKestraCmdLine.h"

#include "base/ArgumentValue.h"
#include "base/qvdCommon.h"
#include "cmdline/CommandTable.h"
#include "cmdline/SearchPath.h"
#include "framework/Prompter.h"
#include "outside/mldsetup.h"

CKestraCmdLine::CKestraCmdLine() { Mldsetup_initialize(); }

CKestraCmdLine::~CKestraCmdLine() = default;

void CKestraCmdLine::LUMldsetup_initialize() { Mldsetup_initialize(); }

namespace {

// The command's values go into the tools' argument texts: the project paths in double
// quotes, the product and the message server bare. One that would change the words a tool
// receives is refused before anything starts. Returns the message for the user, or "".
std::string RefusedValue(const CKestraCmdLine& c) {
  const struct {
    const char* what;
    std::string value;
    bool quoted;
  } values[] = {
      {"project file", c.GetProject(), true},
      {"product", c.GetProduct(), false},
      {"message-server session", c.GetMpsSession(), false},
      {"message-server host", c.GetMpsHost(), false},
  };
  for (const auto& v : values) {
    if (std::string why = ArgumentValueProblem(v.value, v.quoted); !why.empty())
      return "Unable to run " + c.GetMode() + ": the " + v.what + " \"" + v.value +
             "\" cannot be passed to a tool intact (" + why + ").";
  }
  return "";
}

}  // namespace

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
    if (std::string refusal = RefusedValue(*this); !refusal.empty()) {
      AfxMessageBox(refusal, MB_ICONERROR);
      return;
    }
    entry->run(*this);
  } else {
    AfxMessageBox("Unknown Command Line Option Specified.");
  }
}

#include "outside/CToolLauncher.h"

#include <QWidget>
#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <deque>
#include <map>
#include <vector>

#include "framework/Prompter.h"
#include "suite/launcher/AttachedToolRun.h"
#include "suite/launcher/DirectStart.h"
#include "suite/launcher/LaunchLog.h"
#include "suite/launcher/ProgramResolver.h"

namespace {

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

bool IsNotepad(const std::string& editor) {
  std::string lower = editor;
  std::transform(lower.begin(), lower.end(), lower.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return lower == "notepad.exe" || lower == "notepad";
}

std::string StripQuotes(std::string text) {
  std::erase(text, '"');
  return text;
}

}  // namespace

struct CToolLauncher::Impl {
  std::deque<std::string> pieces;
  std::vector<std::unique_ptr<AttachedToolRun>> runs;
  // How the latest ended run of each owner ended, kept when the run itself is let go: an
  // owner may ask after another owner's start has tidied the ended runs away.
  std::map<const QWidget*, int> endSignals;

  int Direct(const char* operation, const std::string& executable, const std::string& args,
             const std::string& product) {
    return Detached(ComposeLaunch(operation, executable, args, product, "none"));
  }

  int Detached(const ToolLaunch& launch) {
    const std::string failure = StartDirect(launch);
    if (failure.empty()) return 0;
    AfxMessageBox(failure, MB_ICONERROR);
    return -1;
  }

  int Attached(const char* operation, const std::string& executable, const std::string& args,
               const std::string& product, QWidget* owner) {
    // Runs that have ended are gone; their messages are already queued.
    std::erase_if(runs, [this](const auto& run) {
      if (run->HasEnded()) endSignals[run->Owner()] = run->EndSignal();
      return run->HasEnded();
    });
    const ToolLaunch launch = ComposeLaunch(operation, executable, args, product,
                                            owner ? owner->metaObject()->className() : "none");
    AppendLaunchRecord(launch.record);
    auto& run = runs.emplace_back(std::make_unique<AttachedToolRun>(owner, pieces));
    std::string why = WhyNotRunnable(launch.program);
    // The message box comes before the end message is posted: an owner only shows its
    // progress after the start returns, and must find the end message waiting then.
    if (!why.empty()) {
      const std::string failure = StartFailure(launch.program, why);
      AfxMessageBox(failure, MB_ICONERROR);
      run->Fail(failure);
      return -1;
    }
    why = run->Start(launch.program, launch.arguments);
    if (!why.empty()) {
      const std::string failure = StartFailure(launch.program, why);
      AfxMessageBox(failure, MB_ICONERROR);
      run->Fail(failure);
      return -1;
    }
    return 0;
  }
};

CToolLauncher::CToolLauncher() : impl_(std::make_unique<Impl>()) {}

CToolLauncher::~CToolLauncher() = default;

int CToolLauncher::launchPavrel(std::string args, std::string product) {
  return impl_->Direct("launchPavrel", "", args, product);
}
int CToolLauncher::launchLibvue(std::string args, std::string product) {
  return impl_->Direct("launchLibvue", "", args, product);
}
int CToolLauncher::launchMld(std::string args, std::string product) {
  return impl_->Direct("launchMld", "", args, product);
}
int CToolLauncher::launchPartFinder(std::string args, std::string product) {
  return impl_->Direct("launchPartFinder", "", args, product);
}
int CToolLauncher::launchPadsmith(std::string args, std::string product) {
  return impl_->Direct("launchPadsmith", "", args, product);
}
int CToolLauncher::launchTessel(std::string args, std::string product) {
  return impl_->Direct("launchTessel", "", args, product);
}
int CToolLauncher::launchRulexUI(std::string args, std::string product) {
  return impl_->Direct("launchRulexUI", "", args, product);
}
int CToolLauncher::launchLumen() { return impl_->Direct("launchLumen", "", "", ""); }

int CToolLauncher::launchTes2XML(std::string args, std::string executable) {
  return impl_->Direct("launchTes2XML", executable, args, "");
}
int CToolLauncher::launchXML2Tes(std::string args, std::string executable) {
  return impl_->Direct("launchXML2Tes", executable, args, "");
}
int CToolLauncher::launchLum2XML(std::string args, std::string executable) {
  return impl_->Direct("launchLum2XML", executable, args, "");
}
int CToolLauncher::launchXML2Lum(std::string args, std::string executable) {
  return impl_->Direct("launchXML2Lum", executable, args, "");
}
int CToolLauncher::launchTes2Lum(std::string args, std::string executable) {
  return impl_->Direct("launchTes2Lum", executable, args, "");
}
int CToolLauncher::launchLum2Tes(std::string args, std::string executable) {
  return impl_->Direct("launchLum2Tes", executable, args, "");
}

int CToolLauncher::launchRulex(std::string args, std::string product, HWND owner) {
  return impl_->Attached("launchRulex", "", args, product, owner);
}
int CToolLauncher::launchSetupDesk(std::string args, std::string product, HWND owner) {
  return impl_->Attached("launchSetupDesk", "", args, product, owner);
}
int CToolLauncher::launchCellsim(std::string executable, std::string args, std::string product,
                                 HWND owner) {
  return impl_->Attached("launchCellsim", executable, args, product, owner);
}
int CToolLauncher::launchLibKit(std::string executable, std::string args, std::string product,
                                HWND owner) {
  return impl_->Attached("launchLibKit", executable, args, product, owner);
}

int CToolLauncher::launchTextView(std::string quotedPath, std::string editor) {
  // "notepad.exe" is the system's way of saying "the user's text editor".
  std::string command = editor;
  if (IsNotepad(editor)) {
    command = Environment("VISUAL");
    if (command.empty()) command = Environment("EDITOR");
    if (command.empty()) command = "xdg-open";
  }
  // The path goes on as one word whatever it holds; the editor text is split like an
  // argument text (it may carry options).
  ToolLaunch launch = ComposeLaunch("launchTextView", command, "", "", "none");
  launch.arguments.push_back(StripQuotes(quotedPath));
  launch.record.arguments = quotedPath;
  if (std::string why = WhyNotRunnable(launch.program); !why.empty()) {
    // "Cannot start .../xdg-open" alone leaves the user without a way on: say what was
    // tried, where the file is, and how to name an editor.
    AppendLaunchRecord(launch.record);
    const std::string tried =
        IsNotepad(editor) ? "VISUAL, EDITOR and xdg-open" : "text_editor \"" + editor + "\"";
    AfxMessageBox("Cannot open " + StripQuotes(quotedPath) + " in a text editor: " +
                      launch.program + " could not be started (" + why + "; tried " + tried +
                      ").\nName an editor with text_editor in the GLOBAL section of the "
                      "project file, or with VISUAL or EDITOR.",
                  MB_ICONERROR);
    return -1;
  }
  return impl_->Detached(launch);
}

std::string CToolLauncher::GetProgressDialogDetail() {
  if (impl_->pieces.empty()) return {};
  std::string piece = std::move(impl_->pieces.front());
  impl_->pieces.pop_front();
  return piece;
}

int CToolLauncher::GetLastEndSignal() const {
  return impl_->runs.empty() ? 0 : impl_->runs.back()->EndSignal();
}

int CToolLauncher::GetEndSignal(HWND owner) const {
  for (auto run = impl_->runs.rbegin(); run != impl_->runs.rend(); ++run) {
    if ((*run)->Owner() == owner) return (*run)->EndSignal();
  }
  const auto kept = impl_->endSignals.find(owner);
  return kept == impl_->endSignals.end() ? 0 : kept->second;
}

int CToolLauncher::AbortTool(unsigned, int) {
  int stopped = 0;
  for (auto& run : impl_->runs) {
    if (run->HasEnded()) continue;
    run->Abort();
    ++stopped;
  }
  return stopped > 0 ? 0 : -1;
}

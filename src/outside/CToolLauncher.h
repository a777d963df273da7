// KestraCore's tool launcher: starts the suite's sibling tools and converters.
//
// One launcher per command object, held by value. All operations run on the UI thread.
// Start operations return at once; their int result is informational only (no caller
// examines it): 0 started, -1 not started (the user has been told why).
//
// Owner-window starts (launchRulex, launchSetupDesk, launchCellsim, launchLibKit) run the
// tool attached; its output reaches the owner as WM_TOOL_PROGRESS messages (fetch the text
// with GetProgressDialogDetail) and the end as exactly one WM_TOOL_ENDED with wParam 1.
// Direct starts run detached and outlive the host.
//
// Programs: KESTRA_TOOL_<NAME> when set, else the given executable (".exe" dropped when
// needed; a bare name is looked up in <install root>/tools/bin, then PATH), else
// <install root>/tools/bin/<name in lower case>. Argument texts are split into words by the
// Windows command-line rules and never pass through a shell. A start that fails is told to
// the user (a message box naming the program and the reason). With KESTRA_LAUNCH_LOG every
// start appends one JSON line. The owner window is borrowed: it may be destroyed while its
// tool runs (messages to it are then dropped). Destroying the launcher kills any tool it
// still runs attached.
#pragma once

#include <memory>
#include <string>

#include "outside/OutsideTypes.h"
#include "outside/SuiteExport.h"

class KESTRA_SUITE_API CToolLauncher {
 public:
  CToolLauncher();
  ~CToolLauncher();
  CToolLauncher(const CToolLauncher&) = delete;
  CToolLauncher& operator=(const CToolLauncher&) = delete;

  // Direct starts: (argument text, product).
  int launchPavrel(std::string args, std::string product);
  int launchLibvue(std::string args, std::string product);
  int launchMld(std::string args, std::string product);
  int launchPartFinder(std::string args, std::string product);
  int launchPadsmith(std::string args, std::string product);
  int launchTessel(std::string args, std::string product);
  int launchRulexUI(std::string args, std::string product);
  int launchLumen();

  // Converters: (argument text, executable). For launchLum2XML the executable text carries
  // the product option after the program name ("lum2xml.exe -product P").
  int launchTes2XML(std::string args, std::string executable);
  int launchXML2Tes(std::string args, std::string executable);
  int launchLum2XML(std::string args, std::string executable);
  int launchXML2Lum(std::string args, std::string executable);
  int launchTes2Lum(std::string args, std::string executable);
  int launchLum2Tes(std::string args, std::string executable);

  // Owner-window starts.
  int launchRulex(std::string args, std::string product, HWND owner);
  int launchSetupDesk(std::string args, std::string product, HWND owner);
  int launchCellsim(std::string executable, std::string args, std::string product, HWND owner);
  int launchLibKit(std::string executable, std::string args, std::string product, HWND owner);

  // Opens a file (already in double quotes) in the given editor; "notepad.exe" stands for
  // the platform's editor.
  int launchTextView(std::string quotedPath, std::string editor);

  // The oldest progress piece not yet fetched (at most 1024 characters; "" when none); one
  // call per WM_TOOL_PROGRESS gives every piece once, in order.
  std::string GetProgressDialogDetail();

  // Stops the running tools' whole process groups (SIGTERM, then SIGKILL after a short
  // grace); WM_TOOL_ENDED still follows. 0 when a tool was running, -1 otherwise.
  int AbortTool(unsigned code, int flag);

  // The signal that ended the most recent attached run, 0 when the tool exited by itself or
  // was stopped through AbortTool. (This platform's addition: a tool that crashed after
  // writing a passing report must not read as passed.)
  int GetLastEndSignal() const;
  // The same for the most recent attached run of owner, for owners whose tools run at the
  // same time (one owner per tool).
  int GetEndSignal(HWND owner) const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

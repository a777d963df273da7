// The module's entry points besides the command object: what the host may call.
//
// Each runs on the host's UI thread. KestraExecuteCommand needs a QApplication
// (KestraRunInApplication makes it); KestraRunVerb needs none.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cmdline/KestraExport.h"

// Runs body with the application object that dialogs and tool runs need, made from the
// host's argc and argv (which it may change); the result is body's.
KESTRA_EXPORT int KestraRunInApplication(int& argc, char** argv, const std::function<int()>& body);

// Runs the command named by mode with the command object, given what the host read from its
// command line (product, project, mode, then the message server when given). Needs a
// QApplication.
KESTRA_EXPORT void KestraExecuteCommand(const std::string& product, const std::string& project,
                                        const std::string& mode,
                                        const std::optional<std::string>& mpsSession,
                                        const std::optional<std::string>& mpsHost);

// A headless verb of VerbTable.h: argv[1] onwards are the verb's words and its own
// (`verify all -proj P ...`); argc and argv are the host's or made like them. It runs in the
// headless library (KestraRunHeadlessVerb), without the application object. The result is
// the process exit status (2, said on standard error, for words that name no verb).
KESTRA_EXPORT int KestraRunVerb(int& argc, char** argv);

// The names of the flows `kestra verify` runs, in registry order.
KESTRA_EXPORT std::vector<std::string> KestraVerifyFlowNames();

// The 21 command names ExecuteCmd knows, in table order.
KESTRA_EXPORT std::vector<std::string> KestraCommandNames();

// True when the command (matched as ExecuteCmd matches it) opens a dialog: such a command
// needs a display and somebody to answer it.
KESTRA_EXPORT bool KestraCommandOpensDialog(const std::string& mode);

// Shows the user a message box (an error box when error is true), as the module's commands
// do, and returns when it is closed. Needs a QApplication. The host shows a tool command's
// messages with it when somebody is there to read them.
KESTRA_EXPORT void KestraShowMessage(const std::string& text, bool error);

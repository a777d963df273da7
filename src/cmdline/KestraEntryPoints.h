// The module's entry points besides the command object: what the host may call.
//
// Each runs on the host's UI thread and needs a QApplication, except KestraLibsMain,
// KestraWaiveMain, KestraFootprintsMain, KestraImportMain, KestraTemplateMain and the two queries.
// The words are those after the verb on the host's command line; the result is the process exit
// status.
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

// `kestra verify [FLOW ...]`: a verification flow without dialogs, for scripts and CI;
// `kestra verify all ...`: every flow on every part of libraries.
KESTRA_EXPORT int KestraVerifyMain(const std::vector<std::string>& words);

// `kestra report merge RESULTS... -html FILE`: results of `kestra verify` runs as one report
// page. Needs no QApplication.
KESTRA_EXPORT int KestraReportMain(const std::vector<std::string>& words);

// `kestra waive -rule R -lib L -cell C -reason TEXT ...`: adds a waiver to the waiver file
// (docs/waivers.md). Needs no QApplication.
KESTRA_EXPORT int KestraWaiveMain(const std::vector<std::string>& words);

// `kestra libs -proj FILE`: the project's libraries and cells as the browser sees them.
KESTRA_EXPORT int KestraLibsMain(const std::vector<std::string>& words);

// `kestra footprints -proj FILE [-filter PATTERN]`: the footprints of the project's footprint
// search path with their folders, as the footprint dialog lists them.
KESTRA_EXPORT int KestraFootprintsMain(const std::vector<std::string>& words);

// `kestra template extract -proj FILE -lib LIB -cell CELL -o FILE.tpl [-ref]`: the template
// a part follows, written to a file.
KESTRA_EXPORT int KestraTemplateMain(const std::vector<std::string>& words);

// `kestra import kicad -proj FILE.tak ...`: KiCad symbol and footprint libraries into the
// project (docs/real-libraries.md). Needs no QApplication.
KESTRA_EXPORT int KestraImportMain(const std::vector<std::string>& words);

// The names of the flows `kestra verify` runs, in registry order.
KESTRA_EXPORT std::vector<std::string> KestraVerifyFlowNames();

// The 21 command names ExecuteCmd knows, in table order.
KESTRA_EXPORT std::vector<std::string> KestraCommandNames();

// True when the command (matched as ExecuteCmd matches it) opens a dialog: such a command
// needs a display and somebody to answer it.
KESTRA_EXPORT bool KestraCommandOpensDialog(const std::string& mode);

// The headless library's entry points (lib/libkestraheadless.so: the verbs of
// HeadlessRunners.h and the commands that only start a tool, ToolCommands.h), found by their
// plain names: the host loads the library at run time (dlopen) for them instead of the
// module; the module links it. Main thread.
#pragma once

#include "cmdline/KestraExport.h"

// The name a host looks up with dlsym.
inline constexpr const char* kKestraHeadlessSymbol = "KestraRunHeadlessVerb";

// A verb of VerbTable.h: argv[1] onwards are the verb's words and its own, as for
// KestraRunVerb. The result is the process exit status (2, said on standard error, for words
// that name no verb).
extern "C" KESTRA_EXPORT int KestraRunHeadlessVerb(int argc, char** argv);

// Tells the user a tool command's message (error: non-zero for an error). context is the
// caller's, handed back as it was given.
typedef void (*KestraToolTeller)(const char* text, int error, void* context);

inline constexpr const char* kKestraToolCommandSymbol = "KestraRunToolCommand";

// Runs a -mode command that only starts a tool, as the module's command object would (the
// same preparation, texts, launch record and start), telling its messages through tell.
// mpsSession and mpsHost are "" when not given. 0 when the tool started, 2 when it did not
// (the user has been told why), -1, with nothing done, when mode names no such command.
extern "C" KESTRA_EXPORT int KestraRunToolCommand(const char* product, const char* project,
                                                  const char* mode, const char* mpsSession,
                                                  const char* mpsHost, KestraToolTeller tell,
                                                  void* context);

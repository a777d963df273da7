// The headless library's one entry point (lib/libkestraheadless.so: the verbs of
// HeadlessRunners.h), found by its plain name: the host loads the library at run time
// (dlopen) for those verbs instead of the module; the module links it. Main thread.
#pragma once

#include "cmdline/KestraExport.h"

// The name a host looks up with dlsym.
inline constexpr const char* kKestraHeadlessSymbol = "KestraRunHeadlessVerb";

// A verb of VerbTable.h: argv[1] onwards are the verb's words and its own, as for
// KestraRunVerb. The result is the process exit status (2, said on standard error, for words
// that name no verb).
extern "C" KESTRA_EXPORT int KestraRunHeadlessVerb(int argc, char** argv);

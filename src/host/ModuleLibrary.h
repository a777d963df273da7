// The module (lib/libkestraui.so beside the program's bin/), loaded at the first call that
// needs it. What the host says by itself (usage, version) loads neither the module nor the
// Qt, widget, font and display libraries the module brings, and starts as fast as a plain
// program.
#pragma once

#include "cmdline/KestraModuleEntry.h"

// The module's entry point of that name. When the module cannot be loaded or lacks the entry
// point, says why on standard error and exits with status 2.
KestraAnyFunction ModuleEntry(const char* name);

// An entry point of cmdline/KestraEntryPoints.h, typed by its declaration:
// KESTRA_MODULE(KestraVerifyMain)(words).
#define KESTRA_MODULE(entry) (reinterpret_cast<decltype(&entry)>(ModuleEntry(#entry)))

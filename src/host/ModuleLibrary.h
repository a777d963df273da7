// The module (lib/libkestraui.so beside the program's bin/) and the headless library
// (lib/libkestraheadless.so: the verbs that need no Qt), each loaded at the first call that
// needs it. What the host says by itself (usage, version) and `kestra verify rulex` load
// neither; a headless verb and a command that only starts a tool load the headless library
// alone, without the Qt, widget, font and display libraries the module brings.
#pragma once

#include "cmdline/KestraHeadlessEntry.h"
#include "cmdline/KestraModuleEntry.h"

// The module's entry point of that name. When the module cannot be loaded or lacks the entry
// point, says why on standard error and exits with status 2.
KestraAnyFunction ModuleEntry(const char* name);

// The headless library's KestraRunHeadlessVerb and KestraRunToolCommand; fail as ModuleEntry
// does.
decltype(&KestraRunHeadlessVerb) HeadlessEntry();
decltype(&KestraRunToolCommand) HeadlessToolEntry();

// An entry point of cmdline/KestraEntryPoints.h, typed by its declaration:
// KESTRA_MODULE(KestraVerifyMain)(words).
#define KESTRA_MODULE(entry) (reinterpret_cast<decltype(&entry)>(ModuleEntry(#entry)))

// How a host that loads the module at run time (dlopen) reaches its entry points: one C
// function, found by its plain name, hands out each entry point of KestraEntryPoints.h by
// its name. A host that loads the module only for the commands that need it starts its
// other commands (usage, version) without the module's Qt, widget, font and display
// libraries.
#pragma once

#include "cmdline/KestraExport.h"

// Any function pointer; the caller casts it back to the entry point's own type.
using KestraAnyFunction = void (*)();

// The name a host looks up with dlsym.
inline constexpr const char* kKestraEntrySymbol = "KestraEntry";

// The entry point of that name ("KestraVerifyMain", ...), or null when the module has none.
extern "C" KESTRA_EXPORT KestraAnyFunction KestraEntry(const char* name);

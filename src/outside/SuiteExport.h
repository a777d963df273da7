// What the suite's shared library exports. The suite is compiled with hidden symbols; the
// outside components (the declarations of this folder) and the few internals that the
// module, the tests and the benchmarks call are marked KESTRA_SUITE_API and nothing else is
// exported. A class so marked exports its members, its vtable, its type information and, for
// a Q_OBJECT class, its meta-object; its inline members stay with each caller.
#pragma once

#define KESTRA_SUITE_API __attribute__((visibility("default")))

// Records that the set-up entry points of the outside libraries ran, so that the module's
// start-up order can be checked. Any thread.
#pragma once

#include "outside/SuiteExport.h"

// How often Mldsetup_initialize and GXInit have run in this process.
KESTRA_SUITE_API int MldsetupInitializeCount();
KESTRA_SUITE_API int GXInitCount();
// The language GXInit was last given (0 before the first call).
KESTRA_SUITE_API unsigned GXInitLanguage();

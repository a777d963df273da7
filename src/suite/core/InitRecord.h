// Records that the set-up entry points of the outside libraries ran, so that the module's
// start-up order can be checked. Any thread.
#pragma once

// How often Mldsetup_initialize and GXInit have run in this process.
int MldsetupInitializeCount();
int GXInitCount();
// The language GXInit was last given (0 before the first call).
unsigned GXInitLanguage();

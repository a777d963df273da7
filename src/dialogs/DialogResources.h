// The shared dialogs' images live in the resources of a static library, which the linker
// keeps only when something refers to them: each dialog that uses them calls this first.
#pragma once

void InitDialogResources();

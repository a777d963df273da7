// The environment the host prepares before the module makes its Qt application object.
// Main thread, before any other thread exists (they set environment variables).
#pragma once

// A display and somebody to answer: a dialog can be shown.
bool Interactive();

// Without a display (or when told not to ask anything) the windows go nowhere and message
// boxes go to standard error.
void ChooseHeadlessWhenNeeded();

// A private XDG_RUNTIME_DIR when none is set, so that Qt does not warn on standard error.
void ProvideRuntimeDirectory();

// The footprint view without dialogs: `kestra footprints` lists the footprints as the dialog
// shows them, and `kestra verify footprint` checks one footprint's drawing as the layout
// editor does for a verify file. UI thread.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "verify/VerifyFlow.h"

// `kestra footprints -proj FILE [-filter PATTERN]`: one line per footprint (name and folder)
// on out, skipped folders on err. 0 listed, 1 the project cannot be read, 2 usage.
int ListFootprints(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

// The registry entry of `kestra verify footprint`.
VerifyFlow FootprintVerifyFlow();

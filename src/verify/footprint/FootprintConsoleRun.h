// `kestra verify footprint` checks one footprint's drawing as the layout editor does for a
// verify file. UI thread.
#pragma once

#include <iosfwd>
#include <string>
#include <vector>

#include "verify/VerifyFlow.h"

// The registry entry of `kestra verify footprint`.
VerifyFlow FootprintVerifyFlow();

// Cuts a tool's output into progress pieces of at most a given size, at line ends where
// possible, so that a fast writer produces few, full pieces instead of one per line.
// Pure function; any thread.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "outside/SuiteExport.h"

constexpr std::size_t kProgressPieceLimit = 1024;

// Takes whole pieces from the front of buffer and leaves the rest there. A piece ends at
// the last line end within the limit; a line longer than the limit is cut at the limit.
// Without flushAll a trailing part line stays in buffer (more may follow); with flushAll
// everything is taken.
KESTRA_SUITE_API std::vector<std::string> TakeProgressPieces(
    std::string& buffer, bool flushAll, std::size_t limit = kProgressPieceLimit);

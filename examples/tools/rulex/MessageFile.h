// Writing rx.msg, the checker's log: a header, one line per finding and the "TOTAL" line.
#pragma once

#include <string>
#include <vector>

#include "RulexFinding.h"

// The log's text. Comment lines pad it to at least 512 bytes before the "TOTAL" line, which
// ends the file, so that a reader of the last 256 bytes always finds the summary.
std::string ComposeMessageFile(const std::vector<std::string>& header,
                               const std::vector<Finding>& findings);

// Writes the text next to path and renames it into place, so that an interrupted run leaves
// no half-written log. False when it cannot be written.
bool WriteMessageFile(const std::string& path, const std::string& text);

// The log of refused settings, "tak.log": the directive dump and safe appending.
#pragma once

#include <array>
#include <string>

#include "projectfile/SpiLevel.h"

class CSpiDirective;

// The system temporary directory: $TMPDIR, else /tmp ("" when neither is usable).
std::string SpiTempDirectory();

// The dump of a directive: its values and control words per level (labels name the levels)
// and its winning value.
std::string SpiDirectiveDump(const CSpiDirective& directive,
                             const std::array<std::string, kSpiLevelCount>& labels);

// Appends one entry (heading, text, closing rule) to the log at path. The log lives in a
// shared folder, so it is opened without following a symbolic link, created readable by its
// owner only, and refused when another user owns it. 0, or a failure cause number.
int SpiAppendLogEntry(const std::string& path, bool isError, const std::string& text);

// Replaces target by a copy of source (the same safe opening). 0, or a failure cause number.
int SpiCopyLog(const std::string& source, const std::string& target);

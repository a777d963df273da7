// The log of refused settings, "tak.log": the directive dump and safe appending.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "projectfile/SpiLevel.h"

class CSpiDirective;

// The system temporary directory: $TMPDIR, else /tmp ("" when neither is usable).
std::string SpiTempDirectory();

// The dump of a directive: its values and control words per level (labels name the levels)
// and its winning value.
std::string SpiDirectiveDump(const CSpiDirective& directive,
                             const std::array<std::string, kSpiLevelCount>& labels);
// The same dump appended to out (many entries built without a string each).
void SpiAppendDirectiveDump(std::string& out, const CSpiDirective& directive,
                            const std::array<std::string, kSpiLevelCount>& labels);

// One entry: heading ("Error" or "Information" and a rule), text, closing rule.
std::string SpiFormatLogEntry(bool isError, const std::string& text);
// The same entry appended to out.
void SpiAppendLogEntryText(std::string& out, bool isError, std::string_view text);

// Writes entries (one or more formatted entries) to the log at path with one open and one
// write, appended, or replacing what the log held (written over it in place; a log with
// other links is made anew). The log lives in a shared folder, so it is opened without
// following a symbolic link and without waiting on a FIFO, created readable by its owner only,
// and refused when it is not a regular file or another user owns it. 0, or a failure cause
// number.
int SpiWriteLog(const std::string& path, const std::string& entries, bool replace);

// Appends one entry to the log at path (the same safe opening). 0, or a failure cause number.
int SpiAppendLogEntry(const std::string& path, bool isError, const std::string& text);

// The writer of project files: the header and one level's sections, as text.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

class CSpiProgramList;

// The four header lines and two empty lines. The "Last modified" line appears only when
// modified is given.
std::string SpiFormatHeader(const std::string& creator, const std::string& opener,
                            const std::string& closer, std::optional<std::time_t> modified);

// Appends level 2 (project) or 3 (user) of all programs: first the value sections, then the
// control-settings sections. With flush, out is handed to it (to be written and emptied)
// whenever it holds 64 KB or more, so that a large model is not formatted twice over in
// memory.
void SpiFormatLevel(const CSpiProgramList& programs, int level, std::string& out,
                    const std::function<void(std::string&)>& flush = {});

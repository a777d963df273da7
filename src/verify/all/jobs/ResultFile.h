// Reading back what `kestra verify FLOW -json` wrote: one record, or the records under
// "parts". Standard C++ only.
#pragma once

#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "verify/VerifyResult.h"

// How deep a results text may nest: a record nests three levels.
inline constexpr int kResultsNestingLimit = 32;

// The deepest nesting of arrays and objects in a JSON text (brackets inside strings do not
// count); cheap, without recursion, for refusing a text before it is taken apart.
int JsonNestingDepth(std::string_view text);

// The results in text, or nullopt with the reason in error (not JSON, not a result, nested too
// deeply, a value of the wrong type). Never throws for bad text.
std::optional<std::vector<VerifyResult>> ParseResultsJson(const std::string& text,
                                                          std::string& error);

// The same from a regular file of bounded size (base/ReplaceFile.h); a FIFO or a device is
// refused, never read.
std::optional<std::vector<VerifyResult>> ReadResultsJson(const std::string& file,
                                                         std::string& error);

// The record of one result as -json writes it, and back (for the run's history).
std::string ResultRecordJson(const VerifyResult& result);

// The result of one record already taken apart (a -json record or a history entry's), or
// nullopt with the reason in error. Never throws for a record of any shape.
std::optional<VerifyResult> ResultOfRecord(const nlohmann::json& record, std::string& error);

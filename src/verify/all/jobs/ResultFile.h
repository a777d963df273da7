// Reading back what `kestra verify FLOW -json` wrote: one record, or the records under
// "parts". Standard C++ only.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "verify/VerifyResult.h"

// The results in text, or nullopt with the reason in error (not JSON, not a result).
std::optional<std::vector<VerifyResult>> ParseResultsJson(const std::string& text,
                                                          std::string& error);

// The same from a file.
std::optional<std::vector<VerifyResult>> ReadResultsJson(const std::string& file,
                                                         std::string& error);

// The record of one result as -json writes it, and back (for the run's history).
std::string ResultRecordJson(const VerifyResult& result);

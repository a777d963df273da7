// The packaging flow's settings: the option bits the dialog copies from its check boxes, the
// run modes of one tool run and the validation type. Standard C++ only; any thread.
#pragma once

#include <cstdint>
#include <string>

// Option bits of the packaging dialog (a 16-bit word).
inline constexpr std::uint16_t kUseProjectPtfFiles = 0x20;  // -ptfdirectivefile
inline constexpr std::uint16_t kUptoBoard = 0x40;           // -netrev with the footprint path
inline constexpr std::uint16_t kPassFailReport = 0x80;      // one run per part, verdict list

// What one packaging tool run covers.
enum class PackagingRunMode { Library, OnePart, SeveralParts };

// Packager: "cellpack" checks instantiation and packaging. Consistency check: "tes2tes" in
// its verify-only mode.
enum class ValidationType { Packager, ConsistencyCheck };

// The environment variable that chooses the validation type.
inline constexpr const char* kValidationTypeVariable = "Instantiation_Packaging_Validation_Type";

// The validation type a value of the variable selects (nullptr: not set). Only "1" selects
// the consistency check; the variable was read into a 10-byte buffer, so a value of ten or
// more characters never does.
ValidationType ValidationTypeOf(const char* value);

// The validation type the environment selects now.
ValidationType ValidationTypeFromEnvironment();

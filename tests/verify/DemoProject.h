// The example project copied into a test's temporary folder, so that runs write there.
#pragma once

#include <filesystem>

// Copies examples/demo (without earlier run output) below folder; returns its demo.tak.
std::filesystem::path CopyDemoProject(const std::filesystem::path& folder);

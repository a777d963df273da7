// The registry name of each verification flow: the word after `kestra verify`, the flow of
// its VerifyResults, and so the flow's name in the JSON and JUnit outputs, on the report page
// and in docs/verify.md. One name per flow; the flows use these constants, never the text.
// In the lowest layer, so that the host, which sees neither the module nor its flows, names
// the same flows in its usage. Standard C++ only.
#pragma once

inline constexpr const char* kRulexFlow = "rulex";
inline constexpr const char* kSimulationFlow = "simulation";
inline constexpr const char* kFootprintFlow = "footprint";
inline constexpr const char* kPackagingFlow = "packaging";
inline constexpr const char* kTemplateFlow = "template";

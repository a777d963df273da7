// The template engine: checking a part against a template on chosen aspects, and extracting
// the template a part follows. Standard C++; any thread (one part and template each).
#pragma once

#include "model/BMesgList.h"
#include "model/RTemplateFile.h"
#include "outside/SuiteExport.h"
#include "suite/template/TemplatePart.h"

// Aspect bits of a check.
inline constexpr unsigned kAspectPropertyValues = 1;
inline constexpr unsigned kAspectPinLoads = 2;
inline constexpr unsigned kAspectSymbolInformation = 4;

// Adds one error message per difference between the part and the template on the aspects
// (nothing else is looked at) to differences, and returns how many it added. Each message
// names the part, the aspect, the expected and the found value.
KESTRA_SUITE_API int CheckPartAgainstTemplate(const TemplatePart& part,
                                              const RTemplateFile& templateFile, unsigned aspects,
                                              BMesgList& differences);

// The template the part follows: its symbol information, for each pin type the loads most of
// its pins have, for each property the value most physical parts have (the first seen on a
// tie). A part whose pins or physical parts disagree differs from its own template there.
// A property a template cannot hold (a name with a blank, a value with a wildcard) is left
// out with a note in notes (when given).
KESTRA_SUITE_API RTemplateFile ExtractTemplate(const TemplatePart& part,
                                               BMesgList* notes = nullptr);

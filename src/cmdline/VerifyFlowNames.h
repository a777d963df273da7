// The names of the flows `kestra verify` runs, in the registry's order, for what must name
// them without loading the module (the host's usage). The registry's own names must be these.
#pragma once

#include <array>
#include <string_view>

#include "base/FlowNames.h"

inline constexpr std::array<std::string_view, 5> kVerifyFlowNames = {
    kRulexFlow, kSimulationFlow, kFootprintFlow, kPackagingFlow, kTemplateFlow};

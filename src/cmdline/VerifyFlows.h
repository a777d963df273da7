// The registry behind `kestra verify` and `kestra verify all`: every flow, each run without
// Qt (the headless library).
#pragma once

#include <span>

#include "verify/VerifyFlow.h"

std::span<const VerifyFlow> RegisteredFlows();

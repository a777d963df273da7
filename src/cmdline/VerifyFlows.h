// The registry behind `kestra verify`: every flow the module can run headless.
#pragma once

#include <span>

#include "verify/VerifyFlow.h"

std::span<const VerifyFlow> RegisteredFlows();

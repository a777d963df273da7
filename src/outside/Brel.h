// Brel, the data-model framework: the base services the template library and the exported
// part model report through. They are the part model's own classes (src/model); WCString,
// which the rules-checker log parser uses, is in base/WCString.h.
#pragma once

#include "model/BException.h"
#include "model/BMesgList.h"

// Fills the part data model from a cell of our part format: the chips data from the package
// view (one logical part with its physical parts, pins, properties and aliases) and one
// symbol data per symbol view ("sym_*", in name order). Standard C++; any thread.
#pragma once

#include <string>
#include <vector>

#include "libformat/PackageView.h"
#include "libformat/SymbolView.h"
#include "model/BMesgList.h"
#include "model/EChipsData.h"
#include "model/EPart.h"
#include "outside/SuiteExport.h"

// The views as read, for callers that need more than the model holds (a symbol's origin
// and extent, the package's symbol name). symbols are those the part's symbol data came from,
// in the same order.
struct PartSourceViews {
  PackageView package;
  std::vector<SymbolView> symbols;
};

// Replaces what chips and part held. library is the library's name, cellDirectory the
// cell's folder (its last component is the part's name). Problems in the files (reported
// with file and line) are added to problems as errors when it is given; reading goes on.
// Throws BException when the cell has no readable package view. When views is given it
// receives the views read.
KESTRA_SUITE_API void ReadPartModel(const std::string& library, const std::string& cellDirectory,
                                    EChipsData& chips, EPart& part, BMesgList* problems = nullptr,
                                    PartSourceViews* views = nullptr);

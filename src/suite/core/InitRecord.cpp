#include "suite/core/InitRecord.h"

#include <atomic>

#include "outside/GridControl.h"
#include "outside/mldsetup.h"

namespace {
std::atomic<int> mldsetupCalls{0};
std::atomic<int> gxInitCalls{0};
std::atomic<unsigned> gxLanguage{0};
}  // namespace

// The setup library keeps no state of its own here; its settings are read per use.
void Mldsetup_initialize() { ++mldsetupCalls; }

// The grid is a Qt table view that needs no global set-up; the call is recorded.
void GXInit(unsigned language, const char*, const char*) {
  gxLanguage = language;
  ++gxInitCalls;
}

int MldsetupInitializeCount() { return mldsetupCalls; }
int GXInitCount() { return gxInitCalls; }
unsigned GXInitLanguage() { return gxLanguage; }

#include "verify/Verdict.h"

namespace {

int Rank(Verdict verdict) {
  switch (verdict) {
    case Verdict::Passed:
      return 0;
    case Verdict::PassedWithWarnings:
      return 1;
    case Verdict::Failed:
      return 2;
    case Verdict::Unknown:
      break;
  }
  return 3;
}

}  // namespace

const char* VerdictName(Verdict verdict) {
  switch (verdict) {
    case Verdict::Passed:
      return "passed";
    case Verdict::PassedWithWarnings:
      return "passed with warnings";
    case Verdict::Failed:
      return "failed";
    case Verdict::Unknown:
      break;
  }
  return "unknown";
}

Verdict WorseVerdict(Verdict a, Verdict b) { return Rank(b) > Rank(a) ? b : a; }

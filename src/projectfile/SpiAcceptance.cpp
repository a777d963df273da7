#include "projectfile/SpiAcceptance.h"

#include "projectfile/CSpiDirective.h"

bool SpiValueHonoured(const CSpiDirective& directive, int level) {
  // Without control words nothing locks the directive and nothing allows the user file: the
  // common case costs no comparison.
  if (!directive.Controlled()) return level != 3;
  bool allowUser = false;
  for (int i = 0; i < level && i < 2; ++i)
    if (directive.Controls(i).ContainsIgnoringCase("allow_user_tak")) allowUser = true;
  for (int i = 0; i < level && i < 3; ++i)
    if (directive.Controls(i).ContainsIgnoringCase("lock")) return false;
  return level != 3 || allowUser;
}

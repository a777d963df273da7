#include "projectfile/SpiAcceptance.h"

#include "projectfile/CSpiDirective.h"

bool SpiValueHonoured(const CSpiDirective& directive, int level) {
  bool allowUser = false;
  for (int i = 0; i < level && i < 2; ++i)
    if (directive.Controls(i).ContainsIgnoringCase("allow_user_tak")) allowUser = true;
  for (int i = 0; i < level && i < 3; ++i)
    if (directive.Controls(i).ContainsIgnoringCase("lock")) return false;
  return level != 3 || allowUser;
}

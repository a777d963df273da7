#include "CViewSymbol.h"

CViewSymbol::CViewSymbol(CKestraCmdLine* command, CToolLauncher* launcher, QWidget* parent)
    : PlaceholderDialog(13000, "View Symbol", 1, parent), command_(command), launcher_(launcher) {}

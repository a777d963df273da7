#include "convert/CViewSymbol.h"

CViewSymbol::CViewSymbol(CKestraCmdContext* command, CToolLauncher* launcher, QWidget* parent)
    : PlaceholderDialog(13000, "View Symbol", 1, parent), command_(command), launcher_(launcher) {}

#include "dialogs/DialogResources.h"

#include <QtCore/qglobal.h>

void InitDialogResources() { Q_INIT_RESOURCE(dialogs); }

#include "verify/packaging/CPackagingVerifydlg.h"

CPackagingVerifydlg::CPackagingVerifydlg(CKestraCmdContext* command, CToolLauncher* launcher,
                                         QWidget* parent)
    : PlaceholderDialog(13007, "Verify Tessel Libraries in Packaging Flow", 8, parent),
      command_(command),
      launcher_(launcher) {}

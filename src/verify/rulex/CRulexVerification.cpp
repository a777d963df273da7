#include "CRulexVerification.h"

#include <QPushButton>

CRulexVerification::CRulexVerification(CKestraCmdLine* command, CToolLauncher* launcher,
                                       QWidget* parent)
    : CDialog(13006, parent), command_(command), launcher_(launcher) {
  setWindowTitle("Verify Tessel Libraries using Rules Checker");
  auto* close = new QPushButton("&Close", this);
  close->setProperty("ctrlId", 8);
  close->move(10, 10);
}

bool CRulexVerification::OnCommand(int id) {
  if (id != 8) return false;
  EndDialog(8);
  return true;
}

// Dialog commands open their dialog modally with (command, launcher, no parent) and
// ExecuteCmd returns when it closes; the module's start-up ran once.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <fstream>

#include "TempDir.h"
#include "cmdline/CKestraCmdLine.h"
#include "framework/CDialog.h"
#include "framework/Prompter.h"
#include "suite/core/InitRecord.h"
#include "verify/footprint/CViewFootprint.h"

namespace {

struct Seen {
  std::string className;
  std::string title;
  int templateId = 0;
  bool hadParent = true;
  std::string footprintMode;
  int closeCode = -1;
};

// Runs mode and, once its modal dialog shows, records it and presses its Close button
// (ending it directly when it has none).
Seen OpenAndClose(const std::string& mode, bool withProject = true) {
  Seen seen;
  QTimer poll;
  poll.setInterval(20);
  QObject::connect(&poll, &QTimer::timeout, [&seen, &poll] {
    auto* dialog = qobject_cast<CDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    poll.stop();
    seen.className = dialog->metaObject()->className();
    seen.title = dialog->windowTitle().toStdString();
    seen.templateId = dialog->TemplateId();
    seen.hadParent = dialog->parentWidget() != nullptr;
    if (auto* footprint = qobject_cast<CViewFootprint*>(dialog))
      seen.footprintMode = footprint->Mode();
    QObject::connect(dialog, &QDialog::finished, [&seen](int code) { seen.closeCode = code; });
    // Every dialog's Close button is control 8; it gives the dialog's own close code.
    if (dialog->GetDlgItem(8) != nullptr)
      dialog->ClickDlgItem(8);
    else
      dialog->EndDialog(8);
  });
  poll.start();
  TempDir dir;
  if (withProject) std::ofstream(dir.str() + "/p.tak") << "START_GLOBAL\nEND_GLOBAL\n";
  CKestraCmdLine command;
  command.SetProduct("P");
  command.SetProject(dir.str() + "/p.tak");
  command.SetMode(mode);
  command.ExecuteCmd();
  poll.stop();
  return seen;
}

TEST(CommandDialogs, EachDialogCommandOpensItsDialogModally) {
  auto previous = SetPrompter(std::make_unique<RecordingPrompter>());
  struct Row {
    std::string mode, className, title;
    int templateId, closeCode;
  };
  const std::vector<Row> rows = {
      {"viewsymbol", "CViewSymbol", "View Symbol", 13000, 1},
      {"SETUPTEMPLATE", "CSetupTemplate", "Setup Template", 13001, 8},
      {"ViewFootprint", "CViewFootprint", "Footprint", 13002, 1},
      {"Simulation", "CEditSimulationViews", "VHDL/Verilog Support", 13005, 8},
      {"VerifyWithPackaging", "CPackagingVerifydlg", "Verify Tessel Libraries in Packaging Flow",
       13007, 8},
      {"VerifyWithSimulation", "CCellsimVerification",
       "Verify Tessel Libraries in Verilog Simulation Flow", 13040, 8},
      {"VerifyWithTemplate", "CTemplateVerificationdlg", "Verify Tessel Libraries with Template",
       13008, 8},
      {"VerifyWithPavrel", "CViewFootprint", "Footprint", 13002, 1},
      {"VerifyWithRulex", "CRulexVerification", "", 0, 8},
  };
  for (const auto& row : rows) {
    const Seen seen = OpenAndClose(row.mode);
    EXPECT_EQ(seen.className, row.className) << row.mode;
    EXPECT_FALSE(seen.hadParent) << row.mode;
    EXPECT_EQ(seen.closeCode, row.closeCode) << row.mode;
    if (row.templateId == 0) continue;  // a dialog of its own flow; only its kind is ours
    EXPECT_EQ(seen.title, row.title) << row.mode;
    EXPECT_EQ(seen.templateId, row.templateId) << row.mode;
  }
  EXPECT_EQ(OpenAndClose("ViewFootprint").footprintMode, "ViewFootprint");
  EXPECT_EQ(OpenAndClose("verifywithpavrel").footprintMode, "VerifyWithPavrel");
  // A project file that is not there: the user is told, and no dialog opens.
  auto* recorder = static_cast<RecordingPrompter*>(&CurrentPrompter());
  EXPECT_EQ(OpenAndClose("VerifyWithRulex", false).className, "");
  ASSERT_FALSE(recorder->messages.empty());
  EXPECT_NE(recorder->messages.back().text.find("does not exist"), std::string::npos);
  SetPrompter(std::move(previous));
}

TEST(CommandDialogs, SetUpLibrariesAreInitialised) {
  // The grid library once, when the module was loaded, with the system default language.
  EXPECT_EQ(GXInitCount(), 1);
  EXPECT_EQ(GXInitLanguage(), 0x0800u);
  // The part-authoring setup by every command object, and again on the host's request.
  const int before = MldsetupInitializeCount();
  CKestraCmdLine command;
  EXPECT_EQ(MldsetupInitializeCount(), before + 1);
  command.LUMldsetup_initialize();
  EXPECT_EQ(MldsetupInitializeCount(), before + 2);
}

}  // namespace

// The packaging dialog, headless, over a copy of the example project, with the real browser,
// launcher and stand-in tools (cellpack, tes2tes).
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidget>
#include <cstdlib>
#include <fstream>
#include <functional>

#include "DemoDialogTest.h"
#include "TempDir.h"
#include "context/CKestraCmdContext.h"
#include "framework/Prompter.h"
#include "verify/packaging/CPackagingVerifydlg.h"
#include "verify/packaging/PackagingConsoleRun.h"

namespace fs = std::filesystem;

namespace {

class PackagingDialogTest : public DemoDialogTest<CPackagingVerifydlg> {
 protected:
  void SetUp() override {
    unsetenv("Instantiation_Packaging_Validation_Type");
    DemoDialogTest::SetUp();
    projectDir = projectFile.parent_path();
    startDirectory = fs::current_path();
  }
  void TearDown() override {
    DemoDialogTest::TearDown();
    unsetenv("Instantiation_Packaging_Validation_Type");
    unsetenv("KESTRA_CELLPACK_CPU_MS");
    unsetenv("KESTRA_CELLPACK_DELAY_MS");
    unsetenv("KESTRA_TOOL_LIBKIT");
    EXPECT_EQ(fs::current_path(), startDirectory) << "the working directory is restored";
  }

  fs::path projectDir;
  fs::path startDirectory;
};

}  // namespace

TEST_F(PackagingDialogTest, OpensWithItsControlsAndTheValidationType) {
  const int code = RunDialog([&](CPackagingVerifydlg& d) {
    EXPECT_EQ(d.windowTitle().toStdString(), "Verify Tessel Libraries in Packaging Flow");
    EXPECT_EQ(d.GetDlgItemText(1), "V&erify");
    EXPECT_EQ(d.GetDlgItemText(8), "&Close");
    EXPECT_EQ(d.GetDlgItemText(9), "&Help");
    EXPECT_EQ(d.GetDlgItemText(13042), "&Use project ptf files for verification");
    EXPECT_EQ(d.GetDlgItemText(13043), "Upto &PCB Editor board (netrev)");
    EXPECT_EQ(d.GetDlgItemText(13044), "&Generate pass/fail report");
    for (int id : {13042, 13043, 13044}) EXPECT_FALSE(d.IsDlgButtonChecked(id)) << id;
    EXPECT_TRUE(d.IsDlgItemEnabled(13044));
    EXPECT_EQ(d.GetValidationType(), ValidationType::Packager);
    EXPECT_NE(d.findChild<QWidget*>("libraryTypeChooser"), nullptr);
  });
  EXPECT_EQ(code, 8);

  setenv("Instantiation_Packaging_Validation_Type", "1", 1);
  RunDialog([&](CPackagingVerifydlg& d) {
    EXPECT_EQ(d.GetValidationType(), ValidationType::ConsistencyCheck);
    EXPECT_FALSE(d.IsDlgItemEnabled(13044));
  });
}

TEST_F(PackagingDialogTest, BadSelectionsAreRefusedWithTheirMessages) {
  RunDialog([&](CPackagingVerifydlg& d) {
    d.ClickDlgItem(1);  // nothing ticked
    Tick(d, "standard");
    Tick(d, "packs");
    d.ClickDlgItem(1);  // two libraries
    EXPECT_TRUE(d.isVisible()) << "Verify never ends the dialog";
  });
  // A pass/fail report over other than one cell warns that it takes long.
  RunDialog([&](CPackagingVerifydlg& d) {
    Tick(d, "packs", {"mux2", "ne555"});
    d.ClickDlgItem(13044);
    EXPECT_EQ(d.RunCells(), (std::vector<std::string>{"mux2", "ne555"}));
    EXPECT_TRUE(d.IsDlgButtonChecked(13044));
  });
  EXPECT_EQ(Messages(), (std::vector<std::string>{
                            "Select a library/cell for verification",
                            "Only one library can be selected for verification",
                            "WARNING: To generate this report, verification has be run on each "
                            "part separately. This may take a long time!"}));
  EXPECT_FALSE(fs::exists(projectDir / "temp_ftb_test")) << "nothing was run";
}

TEST_F(PackagingDialogTest, OneRunOverSeveralPartsShowsTheVerdict) {
  ResultsWatcher watcher;
  RunDialog([&](CPackagingVerifydlg& d) {
    Tick(d, "packs", {"74hc00", "my relay"});
    d.ClickDlgItem(1);
    EXPECT_EQ(d.LastArguments(), "-libdir \"" + (projectDir / "libs").string() +
                                     "\" -lib packs -cell 74hc00 my%20relay  -page d ");
    EXPECT_EQ(d.Progress().GetStatusText(), "Library : packs, Parts : Multiple");
    Tick(d, "packs", {"ne555"});
    d.CheckDlgButton(13043, true);  // up to the board: the project's PSMPATH
    d.ClickDlgItem(1);
    EXPECT_NE(d.LastArguments().find(" -netrev -PSMPATH  './footprints' "), std::string::npos)
        << d.LastArguments();
    EXPECT_EQ(d.Options(), 0x40);
  });
  ASSERT_EQ(watcher.messages.size(), 2u);
  EXPECT_EQ(watcher.messages[0],
            "Instantiation and packaging checks PASSED, see log file for details");
  EXPECT_EQ(watcher.messages[1],
            "Inst. and packaging checks PASSED but some warnings are reported in the log file");
  EXPECT_NE(ReadFile(projectDir / "temp_ftb_test/ftb.rep").find("footprint"), std::string::npos);
}

TEST_F(PackagingDialogTest, PassFailReportRunsEachPartAndListsTheirVerdicts) {
  // Long enough for the watcher's polls to see the first part's status line on a busy machine.
  setenv("KESTRA_CELLPACK_DELAY_MS", "300", 1);
  ResultsWatcher watcher;
  RunDialog([&](CPackagingVerifydlg& d) {
    Tick(d, "packs");
    d.CheckDlgButton(13044, true);
    d.CheckDlgButton(13042, true);  // the ptf file is built once and passed to every part
    d.ClickDlgItem(1);
    EXPECT_EQ(d.Options(), 0xA0);
    EXPECT_EQ(d.RunCells().size(), 5u);
    EXPECT_NE(d.LastArguments().find("-cell ne555 -page d -ptfdirectivefile \"" +
                                     (projectDir / "temp/ptf.txt").string() + "\""),
              std::string::npos)
        << d.LastArguments();
  });
  ASSERT_EQ(watcher.summaries.size(), 1u) << "one per-part results dialog at the end";
  EXPECT_EQ(watcher.summaries[0], "4 parts passed, 1 parts failed.");
  for (const char* part : {"74hc00", "lm393", "mux2", "my%20relay", "ne555"}) {
    EXPECT_TRUE(fs::exists(projectDir / "temp" / (std::string(part) + ".stat"))) << part;
    EXPECT_TRUE(fs::exists(projectDir / "temp" / (std::string(part) + ".log"))) << part;
  }
  EXPECT_EQ(ReadFile(projectDir / "temp/mux2.stat"), "FAILED\n");
  const std::vector<std::string> expected = {"Library : packs,  Part : 74hc00"};
  ASSERT_FALSE(watcher.statusLines.empty());
  EXPECT_EQ(watcher.statusLines.front(), expected.front());
}

TEST_F(PackagingDialogTest, CancelStopsASequenceAndShowsNothing) {
  setenv("KESTRA_CELLPACK_CPU_MS", "2000", 1);
  ResultsWatcher watcher;
  watcher.cancelProgress = true;
  RunDialog([&](CPackagingVerifydlg& d) {
    Tick(d, "packs");
    d.CheckDlgButton(13044, true);
    d.ClickDlgItem(1);
    EXPECT_FALSE(d.Progress().IsCancelled()) << "the flag is cleared at the end";
  });
  EXPECT_TRUE(watcher.summaries.empty());
  EXPECT_TRUE(watcher.messages.empty());
  EXPECT_FALSE(fs::exists(projectDir / "temp/ne555.stat")) << "the sequence stopped";
}

TEST_F(PackagingDialogTest, LibraryWithoutPartsAndReportSaysSo) {
  fs::create_directories(projectDir / "libs/empty");
  std::ofstream(projectDir / "qvd.lib", std::ios::app) << "empty libs/empty\n";
  RunDialog([&](CPackagingVerifydlg& d) {
    Tick(d, "empty");
    d.CheckDlgButton(13044, true);
    d.ClickDlgItem(1);
  });
  EXPECT_EQ(Messages(), (std::vector<std::string>{"The library empty has no parts to verify"}));
}

TEST_F(PackagingDialogTest, ConsistencyCheckShowsTheSummary) {
  setenv("Instantiation_Packaging_Validation_Type", "1", 1);
  ResultsWatcher watcher;
  RunDialog([&](CPackagingVerifydlg& d) {
    Tick(d, "packs", {"mux2", "ne555"});
    d.ClickDlgItem(1);  // two cells: refused
    Tick(d, "standard");
    d.findChild<QTreeWidget*>("browserTree")
        ->findItems("packs", Qt::MatchExactly)
        .front()
        ->setCheckState(0, Qt::Unchecked);
    d.ClickDlgItem(1);
    EXPECT_EQ(d.LastArguments(), "-product \"ARCHIVIST_PLUS\" -proj \"" + projectFile.string() +
                                     "\" -qvdlib \"" + projectDir.string() +
                                     "/qvd.lib\" -lib \"standard\" -verifyonly -ignoreFootprint "
                                     "-ignorePTF");
  });
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{"Only one cell can be selected for verification"}));
  ASSERT_EQ(watcher.messages.size(), 1u);
  EXPECT_EQ(watcher.messages[0],
            "Consistency check of standard: 7 parts checked, 2 inconsistent. FAILED ");
}

// Parts whose names the tools cannot take are refused; a packager killed after writing passing
// reports gives status unknown, in one run and in each part's line of the per-part list.
TEST_F(PackagingDialogTest, HostileNamesAreRefusedAndKilledToolsAreUnknown) {
  fs::copy(projectDir / "libs/packs/lm393", projectDir / "libs/packs/-sim",
           fs::copy_options::recursive);
  dir.write("killed-cellpack",
            "#!/bin/sh\n" KESTRA_BINARY_DIR "/tools/libutil/cellpack \"$@\"\nkill -KILL $$\n");
  fs::permissions(dir.path() / "killed-cellpack", fs::perms::owner_all);
  setenv("KESTRA_TOOL_LIBKIT", (dir.str() + "/killed-cellpack").c_str(), 1);
  ResultsWatcher watcher;
  RunDialog([&](CPackagingVerifydlg& d) {
    Tick(d, "packs", {"-sim"});
    d.ClickDlgItem(1);
    EXPECT_EQ(d.LastArguments(), "") << "nothing started";
    Tick(d, "packs", {"-sim"}, Qt::Unchecked);
    Tick(d, "packs", {"lm393"});
    d.ClickDlgItem(1);
    d.CheckDlgButton(13044, true);
    Tick(d, "packs", {"74hc00"});
    d.ClickDlgItem(1);
  });
  EXPECT_EQ(Messages().front(),
            "Unable to run checks: the part \"-sim\" cannot be passed to the packaging tools: it "
            "begins with '-' and would be read as an option");
  const std::string killed =
      "Unable to determine pass/fail status of Instantiation and Packaging checks: cellpack was "
      "ended by signal 9 (Killed)";
  EXPECT_EQ(watcher.messages, std::vector<std::string>{killed});
  EXPECT_EQ(watcher.partStatuses,
            (std::vector<std::string>(2, "Unknown (ended by signal 9 (Killed))")));
}

TEST_F(PackagingDialogTest, TheDialogAndTheVerbGiveTheSameResults) {
  ResultsWatcher watcher;
  std::vector<VerifyResult> dialog;
  RunDialog([&](CPackagingVerifydlg& d) {
    Tick(d, "packs", {"mux2", "ne555"});
    d.CheckDlgButton(13044, true);
    d.ClickDlgItem(1);
    dialog = d.Results();
  });
  ASSERT_EQ(dialog.size(), 2u);
  EXPECT_EQ(dialog[0].verdict, Verdict::Failed) << "mux2 fails";
  EXPECT_FALSE(dialog[0].findings.empty());
  const FlowRun verb = PackagingVerifyFlow().run({"-proj", projectFile.string(), "-lib", "packs",
                                                  "-cell", "mux2", "-cell", "ne555", "-report"});
  ExpectSameResults(dialog, verb.results);
}

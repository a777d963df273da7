// The simulation-flow dialog, headless, over a copy of the example project, with the real
// browser, launcher and stand-in simulator.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <QTreeWidget>
#include <functional>
#include <tuple>

#include "DemoDialogTest.h"
#include "TempDir.h"
#include "context/CKestraCmdContext.h"
#include "framework/Prompter.h"
#include "verify/WorkingDirectory.h"
#include "verify/simulation/CCellsimVerification.h"
#include "verify/simulation/CellsimConsoleRun.h"

namespace fs = std::filesystem;
using Dlg = CCellsimVerification;

namespace {

class CellsimDialogTest : public DemoDialogTest<Dlg> {
 protected:
  void SetUp() override {
    DemoDialogTest::SetUp();
    scratch = projectFile.parent_path() / "temp_sim_test";
  }

  fs::path scratch;
};

constexpr int kPathEdits[] = {13058, 13059, 13060, 13042, 13043, 13044};

}  // namespace

TEST_F(CellsimDialogTest, OpensWithWrappersAndDefaultPaths) {
  const int code = RunDialog([&](Dlg& d) {
    EXPECT_EQ(d.windowTitle().toStdString(), "Verify Tessel Libraries in Verilog Simulation Flow");
    EXPECT_EQ(d.size(), QSize(794, 574));
    EXPECT_TRUE(d.IsDlgButtonChecked(Dlg::IDC_WRAPPERS));
    EXPECT_FALSE(d.IsDlgButtonChecked(Dlg::IDC_MAPFILES));
    EXPECT_TRUE(d.IsDlgButtonChecked(Dlg::IDC_DEFAULT_PATHS));
    EXPECT_FALSE(d.IsDlgButtonChecked(Dlg::IDC_STOP_ON_NETLIST));
    for (int id : kPathEdits) EXPECT_FALSE(d.IsDlgItemEnabled(id)) << id;
    const std::pair<int, const char*> captions[] = {{13055, "&Default paths"},
                                                    {13056, "&Specify paths"},
                                                    {13057, "Path to &Options file"},
                                                    {13061, "&Wrappers"},
                                                    {13062, "&Mapfiles"},
                                                    {13064, "Stop On &Netlist"},
                                                    {13042, "..."},
                                                    {1, "V&erify"},
                                                    {8, "&Close"},
                                                    {9, "&Help"}};
    for (const auto& [id, caption] : captions) EXPECT_EQ(d.GetDlgItemText(id), caption) << id;
    auto* tree = d.findChild<QTreeWidget*>("browserTree");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->geometry().topLeft(), QPoint(20, 65))
        << "placed as asked, then filling its group";
    EXPECT_NE(d.findChild<QWidget*>("libraryTypeChooser"), nullptr);
    EXPECT_NE(LibraryItem(d, "simcells"), nullptr);
  });
  EXPECT_EQ(code, 8);
}

TEST_F(CellsimDialogTest, RadioSetsAndStopOnNetlistSwitchTheControls) {
  RunDialog([&](Dlg& d) {
    d.ClickDlgItem(Dlg::IDC_SPECIFY_PATHS);
    EXPECT_FALSE(d.IsDlgButtonChecked(Dlg::IDC_DEFAULT_PATHS));
    for (int id : {13058, 13059, 13042, 13043}) EXPECT_TRUE(d.IsDlgItemEnabled(id)) << id;
    for (int id : {13060, 13044}) EXPECT_FALSE(d.IsDlgItemEnabled(id)) << id;
    d.ClickDlgItem(Dlg::IDC_OPTIONS_FILE_PATH);
    EXPECT_FALSE(d.IsDlgButtonChecked(Dlg::IDC_SPECIFY_PATHS));
    for (int id : {13058, 13059, 13042, 13043}) EXPECT_FALSE(d.IsDlgItemEnabled(id)) << id;
    for (int id : {13060, 13044}) EXPECT_TRUE(d.IsDlgItemEnabled(id)) << id;
    d.ClickDlgItem(Dlg::IDC_OPTIONS_FILE_PATH);
    EXPECT_TRUE(d.IsDlgButtonChecked(Dlg::IDC_OPTIONS_FILE_PATH)) << "a second click keeps it";
    d.ClickDlgItem(Dlg::IDC_DEFAULT_PATHS);
    for (int id : kPathEdits) EXPECT_FALSE(d.IsDlgItemEnabled(id)) << id;
    d.ClickDlgItem(Dlg::IDC_MAPFILES);
    EXPECT_FALSE(d.IsDlgButtonChecked(Dlg::IDC_WRAPPERS));
    EXPECT_TRUE(d.IsDlgButtonChecked(Dlg::IDC_MAPFILES));

    d.ClickDlgItem(Dlg::IDC_SPECIFY_PATHS);
    d.ClickDlgItem(Dlg::IDC_STOP_ON_NETLIST);
    for (int id : {13055, 13056, 13057}) {
      EXPECT_FALSE(d.IsDlgButtonChecked(id)) << id;
      EXPECT_FALSE(d.IsDlgItemEnabled(id)) << id;
    }
    for (int id : kPathEdits) EXPECT_FALSE(d.IsDlgItemEnabled(id)) << id;
    d.ClickDlgItem(Dlg::IDC_STOP_ON_NETLIST);
    EXPECT_TRUE(d.IsDlgButtonChecked(Dlg::IDC_DEFAULT_PATHS));
    for (int id : {13055, 13056, 13057}) EXPECT_TRUE(d.IsDlgItemEnabled(id)) << id;
    for (int id : kPathEdits) EXPECT_FALSE(d.IsDlgItemEnabled(id)) << id;
  });
}

TEST_F(CellsimDialogTest, ChoosersFillTheirEditsAndCancelsDifferAsTheyShould) {
  const std::string before = CurrentDirectory();
  prompter->choices = {std::string("/models/here"), std::nullopt, std::string("/udps"),
                       std::string("/opts/sim.opt"), std::nullopt};
  RunDialog([&](Dlg& d) {
    d.ClickDlgItem(Dlg::IDC_SPECIFY_PATHS);
    d.ClickDlgItem(Dlg::IDC_CHOOSE_MODEL_DIR);
    EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_MODEL_DIR), "/models/here");
    d.ClickDlgItem(Dlg::IDC_CHOOSE_MODEL_DIR);
    EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_MODEL_DIR), "") << "a cancelled folder chooser empties";
    d.ClickDlgItem(Dlg::IDC_CHOOSE_UDP_DIR);
    EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_UDP_DIR), "/udps");
    d.ClickDlgItem(Dlg::IDC_OPTIONS_FILE_PATH);
    d.ClickDlgItem(Dlg::IDC_CHOOSE_OPTIONS_FILE);
    EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_OPTIONS_FILE), "/opts/sim.opt");
    d.ClickDlgItem(Dlg::IDC_CHOOSE_OPTIONS_FILE);
    EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_OPTIONS_FILE), "/opts/sim.opt") << "a cancel keeps it";
  });
  EXPECT_EQ(prompter->chooserTitles,
            (std::vector<std::string>{"Select Folder", "Select Folder", "Select Folder",
                                      "Select opt file", "Select opt file"}));
  EXPECT_EQ(CurrentDirectory(), before);
}

TEST_F(CellsimDialogTest, VerifyRefusesBadInputWithItsMessages) {
  const std::string before = CurrentDirectory();
  dir.write("demo/models/not a folder", "x");
  RunDialog([&](Dlg& d) {
    d.ClickDlgItem(1);  // no library ticked
    Tick(d, "standard");
    Tick(d, "passives");
    d.ClickDlgItem(1);  // two libraries
    Tick(d, "passives", {}, Qt::Unchecked);
    d.SetDlgItemText(Dlg::IDC_VIEWS, "verilog");
    d.ClickDlgItem(1);  // standard has no vlog_model_path.txt
    Tick(d, "standard", {}, Qt::Unchecked);
    Tick(d, "simcells");
    d.SetDlgItemText(Dlg::IDC_VIEWS, "");
    d.ClickDlgItem(1);  // no views
    d.SetDlgItemText(Dlg::IDC_VIEWS, "verilog");
    d.ClickDlgItem(Dlg::IDC_SPECIFY_PATHS);
    d.ClickDlgItem(1);  // no model directory
    d.SetDlgItemText(Dlg::IDC_MODEL_DIR, "models/nosuch");
    d.ClickDlgItem(1);
    d.SetDlgItemText(Dlg::IDC_MODEL_DIR, "models");
    d.SetDlgItemText(Dlg::IDC_UDP_DIR, "models/not a folder");
    d.ClickDlgItem(1);
    d.ClickDlgItem(Dlg::IDC_OPTIONS_FILE_PATH);
    d.ClickDlgItem(1);  // no options file
    d.SetDlgItemText(Dlg::IDC_OPTIONS_FILE, "nosuch.opt");
    d.ClickDlgItem(1);
    EXPECT_TRUE(d.isVisible()) << "Verify never ends the dialog";
  });
  EXPECT_EQ(Messages(),
            (std::vector<std::string>{
                "Select a library/cell for verification",
                "Only one library can be selected for verification",
                "'vlog_model_path.txt' file does not exist in the library directory for default "
                "paths to be picked",
                "Please mention atleast one mapview/wrapperview for verification",
                "Please specify the path to the verilog models",
                "The mentioned path to verilog models does not exist",
                "The mentioned path to verilog udps does not exist",
                "Please specify the vloptions file", "The mentioned options file does not exist"}));
  EXPECT_FALSE(fs::exists(scratch)) << "nothing was run";
  EXPECT_EQ(CurrentDirectory(), before);
}

TEST_F(CellsimDialogTest, ScratchDirectoryThatCannotBeEnteredIsAnError) {
  dir.write("demo/temp_sim_test", "a file where the scratch directory goes");
  ResultsWatcher watcher;
  RunDialog([&](Dlg& d) {
    Tick(d, "passives");
    d.SetDlgItemText(Dlg::IDC_VIEWS, "verilog");
    d.ClickDlgItem(1);
  });
  ASSERT_EQ(prompter->messages.size(), 1u);
  EXPECT_EQ(prompter->messages[0].text,
            "Unable to chdir to : " + command.GetProjectPath() +
                "temp_sim_test, can't run checks (cannot make the folder " +
                command.GetProjectPath() + "temp_sim_test: File exists)");
  EXPECT_EQ(prompter->messages[0].flags & MB_ICONERROR, unsigned(MB_ICONERROR));
  EXPECT_EQ(watcher.progressSeen, 0);
  EXPECT_TRUE(watcher.messages.empty());
}

TEST_F(CellsimDialogTest, RunsTheSimulatorAndShowsEachVerdict) {
  const std::string before = CurrentDirectory();
  const fs::path launches = dir.path() / "launch.log";
  setenv("KESTRA_LAUNCH_LOG", launches.c_str(), 1);
  ResultsWatcher watcher;
  std::string summary;
  RunDialog([&](Dlg& d) {
    d.SetDlgItemText(Dlg::IDC_VIEWS, "verilog");
    Tick(d, "passives");
    d.ClickDlgItem(1);  // mode 0: a clean library with its default paths
    EXPECT_EQ(d.Progress().GetStatusText(), "Library : passives");
    EXPECT_EQ(ReadFile(scratch / "finalstatus.rep"), "PASSED\n");

    Tick(d, "passives", {}, Qt::Unchecked);
    Tick(d, "simcells", {"buf1", "nor2"});
    d.ClickDlgItem(1);  // mode 2: nor2's wrapper lacks pin B
    EXPECT_EQ(d.Progress().GetStatusText(), "Library : simcells, Parts : Multiple");
    const std::string libdir = (projectFile.parent_path() / "libs").string();
    EXPECT_EQ(d.OptionsText(), "-libdir " + libdir +
                                   " -lib simcells -cell buf1 nor2  -clean  -wrapperview  "
                                   "verilog -vlogmodeldir default ");
    summary = ReadFile(scratch / "cellsim_summary.rep");

    Tick(d, "simcells", {"buf1", "nor2"}, Qt::Unchecked);
    Tick(d, "simcells", {"nor2"});
    d.ClickDlgItem(Dlg::IDC_MAPFILES);
    d.ClickDlgItem(Dlg::IDC_STOP_ON_NETLIST);
    d.ClickDlgItem(1);  // mode 1, netlist only: the map names port b, which the wrapper lacks
    EXPECT_EQ(d.Progress().GetStatusText(), "Library : simcells,  Part : nor2");
    EXPECT_EQ(
        d.OptionsText(),
        "-libdir " + libdir + " -lib simcells -cell nor2 -clean  -mapview  verilog -sim OFF  ");
  });
  unsetenv("KESTRA_LAUNCH_LOG");
  EXPECT_TRUE(prompter->messages.empty()) << prompter->messages.front().text;
  EXPECT_EQ(watcher.messages,
            (std::vector<std::string>{"Simulation checks PASSED, see log file for details",
                                      "Simulation checks FAILED, see log file for details",
                                      "Verification checks FAILED, see log file for details"}));
  // The failed run's summary holds the wrapper error log, its line feeds as CR LF.
  EXPECT_NE(summary.find("nor2: netlist FAILED"), std::string::npos) << summary;
  EXPECT_NE(summary.find("\twrapper_error_log(s) \n"), std::string::npos) << summary;
  EXPECT_NE(summary.find("wrapper cnor2 lacks symbol pin B\r\n"), std::string::npos) << summary;
  EXPECT_NE(ReadFile(launches).find("tools/libutil/cellsim.exe"), std::string::npos);
  EXPECT_EQ(CurrentDirectory(), before) << "Verify puts the current directory back";
}

TEST_F(CellsimDialogTest, CancelShowsNoVerdictAndRestoresTheDirectory) {
  const std::string before = CurrentDirectory();
  setenv("KESTRA_CELLSIM_DELAY_MS", "400", 1);
  ResultsWatcher watcher;
  watcher.cancelProgress = true;
  RunDialog([&](Dlg& d) {
    Tick(d, "simcells");
    d.SetDlgItemText(Dlg::IDC_VIEWS, "verilog");
    d.ClickDlgItem(1);
    EXPECT_FALSE(d.Progress().IsCancelled()) << "the flag is cleared at the end message";
  });
  unsetenv("KESTRA_CELLSIM_DELAY_MS");
  EXPECT_GT(watcher.progressSeen, 0);
  EXPECT_TRUE(watcher.messages.empty());
  EXPECT_TRUE(prompter->messages.empty());
  EXPECT_FALSE(fs::exists(scratch / "finalstatus.rep")) << "the stopped run wrote no verdict";
  EXPECT_EQ(CurrentDirectory(), before);
}

TEST_F(CellsimDialogTest, HelpShowsTopic143369) {
  const fs::path log = dir.path() / "help.log";
  setenv("KESTRA_HELP_LOG", log.c_str(), 1);
  setenv("KESTRA_NONINTERACTIVE", "1", 1);
  RunDialog([&](Dlg& d) { d.ClickDlgItem(9); });
  unsetenv("KESTRA_HELP_LOG");
  unsetenv("KESTRA_NONINTERACTIVE");
  EXPECT_EQ(ReadFile(log), "help: topic 143369\n");
}

TEST_F(CellsimDialogTest, RelativeModelFoldersReachTheToolAbsoluteAndRunsStartAfresh) {
  ResultsWatcher watcher;
  const std::string models = fs::canonical(projectFile.parent_path() / "models").string();
  std::vector<std::string> summaries;
  RunDialog([&](Dlg& d) {
    Tick(d, "simcells", {"nor2"});
    d.SetDlgItemText(Dlg::IDC_VIEWS, "verilog");
    d.ClickDlgItem(Dlg::IDC_SPECIFY_PATHS);
    d.SetDlgItemText(Dlg::IDC_MODEL_DIR, "models");
    d.SetDlgItemText(Dlg::IDC_UDP_DIR, "./models/udps/");
    for (int run = 0; run < 2; ++run) {
      d.ClickDlgItem(1);
      summaries.push_back(ReadFile(scratch / "cellsim_summary.rep"));
    }
    EXPECT_NE(
        d.OptionsText().find(" -vlogmodeldir " + models + " -vlogudpdir " + models + "/udps "),
        std::string::npos)
        << d.OptionsText();
    EXPECT_EQ(d.GetDlgItemText(Dlg::IDC_MODEL_DIR), "models") << "the edit keeps what was typed";
  });
  ASSERT_EQ(watcher.messages.size(), 2u);
  EXPECT_EQ(watcher.messages[1], "Simulation checks FAILED, see log file for details");
  // The second run's summary holds its own error log once, not the first run's as well.
  const std::string line = "wrapper cnor2 lacks symbol pin B\r\n";
  const std::string& second = summaries[1];
  EXPECT_NE(second.find(line), std::string::npos) << second;
  EXPECT_EQ(second.find(line), second.rfind(line)) << second;
  EXPECT_EQ(summaries[0], summaries[1]);
}

TEST_F(CellsimDialogTest, ARelativeProjectFileWorksFromTheDirectoryTheHostStartedIn) {
  // The host passes the project file as typed: "demo/demo.tak" from the folder above it.
  const std::string before = CurrentDirectory();
  fs::current_path(dir.path());
  command.SetProject("demo/demo.tak");
  ResultsWatcher watcher;
  RunDialog([&](Dlg& d) {
    Tick(d, "simcells", {"buf1"});
    d.SetDlgItemText(Dlg::IDC_VIEWS, "verilog");
    d.ClickDlgItem(Dlg::IDC_SPECIFY_PATHS);
    d.SetDlgItemText(Dlg::IDC_MODEL_DIR, "models");  // relative to the project directory
    d.ClickDlgItem(1);
  });
  const std::string after = CurrentDirectory();
  fs::current_path(before);
  EXPECT_TRUE(prompter->messages.empty()) << prompter->messages.front().text;
  EXPECT_EQ(watcher.messages,
            std::vector<std::string>{"Simulation checks PASSED, see log file for details"});
  EXPECT_EQ(fs::path(after), fs::canonical(dir.path()));
  EXPECT_TRUE(fs::exists(scratch / "finalstatus.rep"));
}

TEST_F(CellsimDialogTest, TheDialogAndTheVerbGiveTheSameResult) {
  std::vector<VerifyResult> fromDialog;
  ResultsWatcher watcher;  // closes the results dialog
  RunDialog([&](Dlg& d) {
    d.SetDlgItemText(Dlg::IDC_VIEWS, "verilog");
    Tick(d, "simcells", {"nor2"});
    d.ClickDlgItem(1);
    fromDialog = d.Results();
  });
  const FlowRun verb =
      CellsimVerifyFlow().run({"-proj", projectFile.string(), "-lib", "simcells", "-cell", "nor2",
                               "-wrapperview", "verilog", "-default-paths"});
  ASSERT_EQ(fromDialog.size(), 1u);
  ASSERT_EQ(verb.results.size(), 1u) << verb.usageError;
  const VerifyResult& a = fromDialog[0];
  const VerifyResult& b = verb.results[0];
  EXPECT_EQ(a.verdict, Verdict::Failed);
  EXPECT_EQ(std::tie(a.flow, a.library, a.cell, a.verdict, a.message, a.cause),
            std::tie(b.flow, b.library, b.cell, b.verdict, b.message, b.cause));
  EXPECT_EQ(fs::weakly_canonical(a.log), fs::weakly_canonical(b.log));
  ASSERT_EQ(a.findings.size(), b.findings.size());
  ASSERT_FALSE(a.findings.empty());
  for (std::size_t i = 0; i < a.findings.size(); ++i) {
    EXPECT_EQ(std::tie(a.findings[i].rule, a.findings[i].part, a.findings[i].object,
                       a.findings[i].message, a.findings[i].line),
              std::tie(b.findings[i].rule, b.findings[i].part, b.findings[i].object,
                       b.findings[i].message, b.findings[i].line));
  }
}

// A cell named like an option is refused before anything runs; a simulator killed after
// writing a passing report gives status unknown, naming the signal.
TEST_F(CellsimDialogTest, HostileNamesAreRefusedAndAKilledSimulatorIsUnknown) {
  const fs::path library = projectFile.parent_path() / "libs/simcells";
  fs::copy(library / "buf1", library / "-sim", fs::copy_options::recursive);
  dir.write("killed-cellsim",
            "#!/bin/sh\n" KESTRA_BINARY_DIR "/tools/libutil/cellsim \"$@\"\nkill -KILL $$\n");
  fs::permissions(dir.path() / "killed-cellsim", fs::perms::owner_all);
  setenv("KESTRA_TOOL_CELLSIM", (dir.str() + "/killed-cellsim").c_str(), 1);
  ResultsWatcher watcher;
  RunDialog([&](Dlg& d) {
    d.SetDlgItemText(Dlg::IDC_VIEWS, "verilog");
    Tick(d, "simcells", {"-sim"});
    d.ClickDlgItem(1);
    EXPECT_FALSE(fs::exists(scratch)) << "nothing was run";
    Tick(d, "simcells", {"-sim"}, Qt::Unchecked);
    Tick(d, "simcells", {"buf1"});
    d.ClickDlgItem(1);
    EXPECT_EQ(ReadFile(scratch / "finalstatus.rep"), "PASSED\n") << "its report did say passed";
  });
  unsetenv("KESTRA_TOOL_CELLSIM");
  ASSERT_EQ(prompter->messages.size(), 1u);
  EXPECT_EQ(prompter->messages[0].text,
            "Unable to run checks: the cell name \"-sim\" cannot be passed to cellsim: it begins "
            "with '-' and would be read as an option");
  EXPECT_EQ(watcher.messages,
            std::vector<std::string>{"Unable to determine pass/fail status of Simulation checks: "
                                     "cellsim was ended by signal 9 (Killed)"});
}

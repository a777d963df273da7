// The simulation flow's logic without widgets: path names, options texts, the path checks,
// the scratch directory, the final status and the error logs appended to the summary.
#include <gtest/gtest.h>

#include <filesystem>

#include "TempDir.h"
#include "base/QuoteArgument.h"
#include "verify/PathNames.h"
#include "verify/WorkingDirectory.h"
#include "verify/simulation/CellsimOptions.h"
#include "verify/simulation/CellsimPaths.h"
#include "verify/simulation/CellsimReports.h"
#include "verify/simulation/CellsimTexts.h"

namespace fs = std::filesystem;

TEST(CellsimPathNames, ParentAndLastComponentOfEverySeparator) {
  EXPECT_EQ(ParentPath("/p/libs/lib_a"), "/p/libs");
  EXPECT_EQ(ParentPath("C:\\libs\\lib_a"), "C:\\libs");
  EXPECT_EQ(ParentPath("a\\b/c\\d"), "a\\b") << "a slash wins over a later backslash";
  EXPECT_EQ(ParentPath("C:lib_a"), "C:");
  EXPECT_EQ(ParentPath("lib_a"), "./");
  EXPECT_EQ(ParentPath("/lib_a"), "");
  EXPECT_EQ(LastPathComponent("/p/libs/lib_a"), "lib_a");
  EXPECT_EQ(LastPathComponent("C:\\libs\\lib_a"), "lib_a");
  EXPECT_EQ(LastPathComponent("C:lib_a"), "lib_a");
  EXPECT_EQ(LastPathComponent("lib_a"), "lib_a");
  EXPECT_EQ(LastPathComponent("/p/libs/"), "");

  const CellsimLibrary lib = LocateCellsimLibrary("Lib A", "/p/libs/lib_a");
  EXPECT_EQ(lib.parent, "/p/libs");
  EXPECT_EQ(lib.directoryName, "lib_a");
  EXPECT_EQ(lib.directory, "/p/libs/lib_a");

  EXPECT_EQ(QuoteIfNeeded("/p/libs"), "/p/libs");
  EXPECT_EQ(QuoteIfNeeded("/my libs"), "\"/my libs\"");
  EXPECT_EQ(QuoteIfNeeded(""), "\"\"");
  EXPECT_EQ(QuoteIfNeeded("a\"b"), "\"a\\\"b\"");
}

TEST(CellsimOptions, ModesStatusTextsAndEveryViewAndPathChoice) {
  const CellsimLibrary lib = LocateCellsimLibrary("lib_a", "D/lib_a");
  CellsimSettings settings;
  settings.views = "map_a";
  settings.viewKind = CellsimViewKind::Map;
  std::string options;

  EXPECT_EQ(CellsimRunMode(0), 0);
  EXPECT_EQ(CellsimRunMode(1), 1);
  EXPECT_EQ(CellsimRunMode(3), 2);
  EXPECT_EQ(CellsimStatusText("lib_a", 0, ""), "Library : lib_a");
  EXPECT_EQ(CellsimStatusText("lib_a", 1, "cell_a"), "Library : lib_a,  Part : cell_a");
  EXPECT_EQ(CellsimStatusText("lib_a", 2, ""), "Library : lib_a, Parts : Multiple");

  EXPECT_EQ(ComposeCellsimOptions(settings, lib, 1, "cell_a", "", options), "");
  EXPECT_EQ(options,
            "-libdir D -lib lib_a -cell cell_a -clean  -mapview  map_a -vlogmodeldir default ");
  EXPECT_EQ(ComposeCellsimOptions(settings, lib, 0, "", "", options), "");
  EXPECT_EQ(options, "-libdir D -lib lib_a -clean  -mapview  map_a -vlogmodeldir default ");

  // Three cells: each mapped name and a blank, so two blanks before -clean.
  // (a name the mapper refuses is kept as selected, quoted for its blank).
  const std::string cells = CellsimCellListText({"A1", "b 2", "x/y z"});
  EXPECT_EQ(cells, "a1 b%202 \"x/y z\" ");
  EXPECT_EQ(ComposeCellsimOptions(settings, lib, 2, "", cells, options), "");
  EXPECT_EQ(options,
            "-libdir D -lib lib_a -cell a1 b%202 \"x/y z\"  -clean  -mapview  map_a "
            "-vlogmodeldir default ");

  settings.viewKind = CellsimViewKind::Wrapper;
  settings.stopOnNetlist = true;
  EXPECT_EQ(ComposeCellsimOptions(settings, lib, 0, "", "", options), "");
  EXPECT_EQ(options, "-libdir D -lib lib_a -clean  -wrapperview  map_a -sim OFF  ");

  settings.stopOnNetlist = false;
  settings.pathSource = CellsimPathSource::OptionsFile;
  EXPECT_EQ(ComposeCellsimOptions(settings, lib, 0, "", "", options), kCellsimNoOptionsFile);
  EXPECT_EQ(options, "");
  settings.optionsFile = "/my opts/sim.opt";
  EXPECT_EQ(ComposeCellsimOptions(settings, lib, 0, "", "", options), "");
  EXPECT_EQ(options,
            "-libdir D -lib lib_a -clean  -wrapperview  map_a -vloptions \"/my opts/sim.opt\" ");

  settings.pathSource = CellsimPathSource::Specify;
  EXPECT_EQ(ComposeCellsimOptions(settings, lib, 0, "", "", options), kCellsimNoModels);
  settings.modelDir = "/m";
  EXPECT_EQ(ComposeCellsimOptions(settings, lib, 0, "", "", options), "");
  EXPECT_EQ(options, "-libdir D -lib lib_a -clean  -wrapperview  map_a -vlogmodeldir /m ");
  settings.udpDir = "/u";
  EXPECT_EQ(ComposeCellsimOptions(settings, lib, 0, "", "", options), "");
  EXPECT_EQ(options,
            "-libdir D -lib lib_a -clean  -wrapperview  map_a -vlogmodeldir /m -vlogudpdir /u ");

  settings.viewKind = CellsimViewKind::None;
  EXPECT_EQ(ComposeCellsimOptions(settings, lib, 0, "", "", options), "");
  EXPECT_EQ(options, "-libdir D -lib lib_a -clean  ");
}

TEST(CellsimOptions, TooLongATextIsRefusedNamingItsLongestPart) {
  const CellsimLibrary lib = LocateCellsimLibrary("lib", "/p/lib");
  CellsimSettings settings;
  settings.views = "verilog";
  std::vector<std::string> many;
  for (int i = 0; i < 120; ++i) many.push_back("cell_" + std::to_string(i));
  const std::string cells = CellsimCellListText(many);
  std::string options = "stale";
  const std::string problem = ComposeCellsimOptions(settings, lib, 2, "", cells, options);
  EXPECT_NE(problem.find("more than the 1023"), std::string::npos) << problem;
  EXPECT_NE(problem.find("the list of cells (" + std::to_string(cells.size())), std::string::npos)
      << problem;
  EXPECT_EQ(options, "") << "nothing cut and run";

  // Exactly at the room it still runs.
  settings.views = "v";
  ASSERT_EQ(ComposeCellsimOptions(settings, lib, 0, "", "", options), "");
  settings.views += std::string(kCellsimOptionsRoom - options.size(), 'x');
  EXPECT_EQ(ComposeCellsimOptions(settings, lib, 0, "", "", options), "");
  EXPECT_EQ(options.size(), kCellsimOptionsRoom);
  settings.views += "x";
  EXPECT_NE(ComposeCellsimOptions(settings, lib, 0, "", "", options), "");
}

TEST(CellsimPaths, ChecksResolveAgainstTheProjectAndLeaveTheCurrentDirectory) {
  TempDir dir;
  dir.write("proj/models/m.v", "module M; endmodule\n");
  dir.write("proj/opts/sim.opt", "-y models\n");
  dir.write("proj/top.opt", "-y models\n");
  dir.write("proj/libs/a/vlog_model_path.txt", "models ../../models\n");
  const std::string project = dir.str() + "/proj/";
  const std::string before = CurrentDirectory();

  CellsimSettings settings;
  settings.pathSource = CellsimPathSource::Specify;
  settings.modelDir = "./models/";
  EXPECT_EQ(ResolveCellsimPaths(project, settings), "");
  EXPECT_EQ(fs::path(settings.modelDir), fs::canonical(dir.path() / "proj/models"));
  settings.udpDir = "udps";
  EXPECT_EQ(ResolveCellsimPaths(project, settings), kCellsimUdpsMissing);
  settings.modelDir = "nosuch";
  EXPECT_EQ(ResolveCellsimPaths(project, settings), kCellsimModelsMissing);
  settings.modelDir = "";
  settings.udpDir = "";
  EXPECT_EQ(ResolveCellsimPaths(project, settings), "") << "empty paths are reported later";

  settings.pathSource = CellsimPathSource::OptionsFile;
  settings.optionsFile = "opts/sim.opt";
  EXPECT_EQ(ResolveCellsimPaths(project, settings), "");
  EXPECT_EQ(fs::path(settings.optionsFile), fs::canonical(dir.path() / "proj/opts/sim.opt"));
  settings.optionsFile = "top.opt";
  EXPECT_EQ(ResolveCellsimPaths(project, settings), "");
  EXPECT_EQ(settings.optionsFile, "top.opt") << "a bare name stays as typed";
  settings.optionsFile = "opts/none.opt";
  EXPECT_EQ(ResolveCellsimPaths(project, settings), kCellsimOptionsFileMissing);
  settings.optionsFile = "opts";
  EXPECT_EQ(ResolveCellsimPaths(project, settings), kCellsimOptionsFileMissing)
      << "a folder is no options file";
  EXPECT_EQ(CurrentDirectory(), before);

  // The library's default paths and the views text.
  CellsimSettings defaults;
  EXPECT_EQ(CheckCellsimRequest(defaults, LocateCellsimLibrary("a", project + "libs/a")),
            kCellsimNoViews);
  defaults.views = "verilog";
  EXPECT_EQ(CheckCellsimRequest(defaults, LocateCellsimLibrary("a", project + "libs/a")), "");
  EXPECT_EQ(CheckCellsimRequest(defaults, LocateCellsimLibrary("b", project + "libs/b")),
            kCellsimNoDefaultPaths);
  defaults.pathSource = CellsimPathSource::None;  // Stop On Netlist needs no default paths
  EXPECT_EQ(CheckCellsimRequest(defaults, LocateCellsimLibrary("b", project + "libs/b")), "");
}

TEST(CellsimPaths, ScratchDirectoryIsMadeAnewOrRefused) {
  TempDir dir;
  const std::string project = dir.str() + "/proj/";
  dir.write("proj/temp_sim_test/finalstatus.rep", "PASSED\n");
  const CurrentDirectoryGuard back;
  EXPECT_EQ(CellsimScratchDirectory(project), project + "temp_sim_test");
  EXPECT_EQ(CellsimFinalStatusPath(project), project + "/temp_sim_test/finalstatus.rep");
  EXPECT_EQ(CellsimSummaryPath(""), ".//temp_sim_test/cellsim_summary.rep");
  EXPECT_EQ(CellsimAbsoluteProjectDirectory(project), project);
  fs::current_path(dir.path());
  EXPECT_EQ(CellsimAbsoluteProjectDirectory("proj/"), project);
  EXPECT_EQ(CellsimAbsoluteProjectDirectory(""), dir.str() + "/");

  EXPECT_EQ(EnterCellsimScratchDirectory(project), "");
  EXPECT_EQ(fs::path(CurrentDirectory()), fs::canonical(dir.path() / "proj/temp_sim_test"));
  EXPECT_TRUE(fs::is_empty(dir.path() / "proj/temp_sim_test")) << "the last run's reports go";

  fs::current_path(dir.path());
  fs::remove_all(dir.path() / "proj/temp_sim_test");
  dir.write("proj/temp_sim_test", "a file in its place");
  EXPECT_EQ(EnterCellsimScratchDirectory(project),
            "Unable to chdir to : " + project +
                "temp_sim_test, can't run checks (cannot make the "
                "folder " +
                project + "temp_sim_test: File exists)");
  EXPECT_EQ(fs::path(CurrentDirectory()), fs::canonical(dir.path() / "proj"));
  EXPECT_EQ(ReadFile(dir.path() / "proj/temp_sim_test"), "a file in its place");
}

TEST(CellsimReports, FinalStatusAndTheVerdictTable) {
  TempDir dir;
  const std::string file = dir.str() + "/finalstatus.rep";
  EXPECT_EQ(ReadFinalStatus(file), 1) << "missing";
  dir.write("finalstatus.rep", "");
  EXPECT_EQ(ReadFinalStatus(file), 1) << "0 bytes";
  dir.write("finalstatus.rep", "Status: passed\n");
  EXPECT_EQ(ReadFinalStatus(file), 0);
  dir.write("finalstatus.rep", "run ok\nPassed With Warnings\n");
  EXPECT_EQ(ReadFinalStatus(file), 3);
  dir.write("finalstatus.rep", "FAILED\n");
  EXPECT_EQ(ReadFinalStatus(file), 1);
  dir.write("finalstatus.rep", std::string(76, '.') + "PASSED\n");
  EXPECT_EQ(ReadFinalStatus(file), 1) << "a word split across two pieces is not found";
  dir.write("finalstatus.rep", std::string(79, '.') + "PASSED\n");
  EXPECT_EQ(ReadFinalStatus(file), 0) << "the next piece of a long line is read";
  fs::remove(file);
  fs::create_directory(file);
  EXPECT_EQ(ReadFinalStatus(file), 2) << "a folder says nothing about the run";

  EXPECT_EQ(CellsimVerdictMessage(0, false), "Simulation checks PASSED, see log file for details");
  EXPECT_EQ(CellsimVerdictMessage(1, false), "Simulation checks FAILED, see log file for details");
  EXPECT_EQ(CellsimVerdictMessage(3, false),
            "Simulation checks PASSED but some warnings are reported in the log file");
  EXPECT_EQ(CellsimVerdictMessage(2, false),
            "Unable to determine pass/fail status of Simulation checks");
  EXPECT_EQ(CellsimVerdictMessage(0, true), "Verification checks PASSED, see log file for details");
  EXPECT_EQ(CellsimVerdictMessage(1, true), "Verification checks FAILED, see log file for details");
  EXPECT_EQ(CellsimVerdictMessage(3, true),
            "Verification checks PASSED but some warnings are reported in the log file");
  EXPECT_EQ(CellsimVerdictMessage(7, true),
            "Unable to determine pass/fail status of Verification checks");
  EXPECT_TRUE(IsPlainPassMessage(CellsimVerdictMessage(0, true)));
  EXPECT_FALSE(IsPlainPassMessage(CellsimVerdictMessage(3, false)));
  EXPECT_EQ(CellsimVerdictOf(3), Verdict::PassedWithWarnings);
  EXPECT_EQ(CellsimVerdictOf(2), Verdict::Unknown);
}

TEST(CellsimReports, ErrorLogsAreAppendedInThreeSectionsWithCrLf) {
  TempDir dir;
  const std::string project = dir.str() + "/";
  dir.write("temp_sim_test/cellsim_summary.rep", "summary\n");
  dir.write("temp_sim_test/sim_error_log/QelLog_libASim/b.log", "sim b\n");
  dir.write("temp_sim_test/sim_error_log/QelLog_libASim/a.log", "sim a\nline 2");
  dir.write("temp_sim_test/sim_error_log/QelLog_otherSim/x.log", "not this library\n");
  dir.write("temp_sim_test/wrapper_error_log/w.log", "wrapper\r\n");
  dir.write("temp_sim_test/wrapper_error_log/w.txt", "not a log\n");
  dir.write("temp_sim_test/map_error_log/m.log", "map\n");
  fs::create_symlink(dir.path() / "gone", dir.path() / "temp_sim_test/map_error_log/gone.log");
  const std::string before = CurrentDirectory();

  dir.write("temp_sim_test/finalstatus.rep", "FAILED\n");
  const CellsimOutcome outcome = ReadCellsimOutcome(project, "libA", false);
  EXPECT_EQ(outcome.message, "Simulation checks FAILED, see log file for details");
  EXPECT_EQ(outcome.logFile, project + "/temp_sim_test/cellsim_summary.rep");
  EXPECT_EQ(outcome.logs.filesCopied, 4);
  ASSERT_EQ(outcome.logs.unreadable.size(), 1u);
  const std::string gone = outcome.logs.unreadable.front();
  EXPECT_EQ(ReadFile(outcome.logFile),
            "summary\n"
            "\n==================\n sim_error_log(s) \n==================\n\n"
            "sim a\r\nline 2sim b\r\n"
            "\n==================================\n\twrapper_error_log(s) "
            "\n==================================\n\n"
            "wrapper\r\r\n"
            "\n==============================\n\tmap_error_log(s) "
            "\n==============================\n\n"
            "*** " +
                gone + ": cannot be read\nmap\r\n");
  EXPECT_EQ(CurrentDirectory(), before);

  dir.write("temp_sim_test/finalstatus.rep", "passed\n");
  const CellsimOutcome passed = ReadCellsimOutcome(project, "libA", true);
  EXPECT_EQ(passed.message, "Verification checks PASSED, see log file for details");
  EXPECT_EQ(passed.logFile, project + "/temp_sim_test/finalstatus.rep");
  EXPECT_FALSE(passed.logs.opened) << "a plain pass appends nothing";

  EXPECT_FALSE(AppendErrorLogs(dir.str() + "/nosuch/cellsim_summary.rep", "libA").opened);
}

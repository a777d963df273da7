// `kestra verify simulation` as a real child process over a copy of the example project, with
// the stand-in simulator doing the checking.
#include <gtest/gtest.h>

#include <QProcess>
#include <nlohmann/json.hpp>

#include "DemoProject.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace fs = std::filesystem;

namespace {

class CellsimCommandTest : public ::testing::Test {
 protected:
  void SetUp() override { projectFile = CopyDemoProject(dir.path()); }

  ProgramRun Verify(QStringList words,
                    const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
    return RunProgram(KESTRA_PROGRAM,
                      QStringList{"verify", "simulation", "-proj", "demo/demo.tak"} + words,
                      dir.str(), env);
  }
  std::string Scratch(const std::string& name) {
    return ReadFile(projectFile.parent_path() / "temp_sim_test" / name);
  }

  TempDir dir;
  fs::path projectFile;
};

}  // namespace

TEST_F(CellsimCommandTest, VerdictsExitStatusesAndTheLogThatHoldsTheErrorLogs) {
  const ProgramRun clean =
      Verify({"-lib", "passives", "-wrapperview", "verilog", "-default-paths"});
  EXPECT_EQ(clean.status, 0) << clean.err;
  EXPECT_EQ(clean.out, "Simulation checks PASSED, see log file for details\n");
  EXPECT_NE(clean.err.find("Library : passives"), std::string::npos) << clean.err;
  EXPECT_NE(clean.err.find("cellsim: part res: ok"), std::string::npos) << clean.err;

  const ProgramRun broken =
      Verify({"-lib", "simcells", "-cell", "nor2", "-wrapperview", "verilog", "-default-paths"});
  EXPECT_EQ(broken.status, 1) << broken.err;
  EXPECT_EQ(broken.out, "Simulation checks FAILED, see log file for details\n");
  EXPECT_NE(broken.err.find("Library : simcells,  Part : nor2"), std::string::npos);
  const std::string summary = Scratch("cellsim_summary.rep");
  EXPECT_NE(summary.find(" sim_error_log(s) "), std::string::npos) << summary;
  EXPECT_NE(summary.find("\twrapper_error_log(s) "), std::string::npos) << summary;
  EXPECT_NE(summary.find("\tmap_error_log(s) "), std::string::npos) << summary;
  EXPECT_NE(summary.find("lacks symbol pin B\r\n"), std::string::npos) << summary;

  // The models named directly, relative to the current directory; the three clean parts.
  const ProgramRun models =
      Verify({"-lib", "simcells", "-cell", "buf1", "-cell", "and2", "-cell", "dff1", "-wrapperview",
              "verilog", "-models", "demo/models", "-udps", "demo/models/udps"});
  EXPECT_EQ(models.status, 0) << models.err;

  // Models from the wrong folder: the simulation step fails and its log is appended.
  const ProgramRun unmodelled = Verify({"-lib", "simcells", "-cell", "buf1", "-wrapperview",
                                        "verilog", "-models", "demo/models/udps"});
  EXPECT_EQ(unmodelled.status, 1) << unmodelled.err;
  const std::string simSummary = Scratch("cellsim_summary.rep");
  EXPECT_LT(simSummary.find(" sim_error_log(s) "),
            simSummary.find("instantiates BUF_MODEL, which no model defines\r\n"))
      << simSummary;
  EXPECT_NE(simSummary.find("instantiates BUF_MODEL"), std::string::npos) << simSummary;

  // Without the UDPs' folder, no model is missing (the models define what the wrappers
  // instantiate), but an empty UDP folder is a warning.
  fs::create_directory(dir.path() / "empty");
  const ProgramRun warned = Verify({"-lib", "simcells", "-cell", "buf1", "-wrapperview", "verilog",
                                    "-models", "demo/models", "-udps", "empty"});
  EXPECT_EQ(warned.status, 3) << warned.err;
  EXPECT_EQ(warned.out,
            "Simulation checks PASSED but some warnings are reported in the log file\n");

  // Netlist only: map views, with the Verification wording.
  const ProgramRun netlist =
      Verify({"-lib", "simcells", "-mapview", "verilog", "-stop-on-netlist"});
  EXPECT_EQ(netlist.status, 1) << netlist.err;
  EXPECT_EQ(netlist.out, "Verification checks FAILED, see log file for details\n");
}

TEST_F(CellsimCommandTest, JsonNamesTheLogAndTheFindings) {
  const ProgramRun result =
      Verify({"-lib", "simcells", "-wrapperview", "verilog", "-default-paths", "-json"});
  EXPECT_EQ(result.status, 1) << result.err;
  const nlohmann::json json = nlohmann::json::parse(result.out);
  EXPECT_EQ(json["flow"], "simulation");
  EXPECT_EQ(json["library"], "simcells");
  EXPECT_EQ(json["verdict"], "failed");
  const std::string log = json["log"];
  EXPECT_TRUE(log.ends_with("/temp_sim_test/cellsim_summary.rep")) << log;
  EXPECT_TRUE(fs::exists(log));
  ASSERT_FALSE(json["findings"].empty());
  EXPECT_NE(json["findings"][0].get<std::string>().find("nor2: netlist FAILED"), std::string::npos)
      << result.out;
}

TEST_F(CellsimCommandTest, BadInputIsReportedAndNothingRuns) {
  struct Case {
    QStringList words;
    int status;
    std::string text;
  };
  const Case cases[] = {
      {{"-lib", "simcells", "-default-paths"}, 2, "-wrapperview or -mapview is required"},
      {{"-lib", "simcells", "-wrapperview", "verilog"}, 2, "one of -default-paths"},
      {{"-lib", "simcells", "-wrapperview", "v", "-default-paths", "-stop-on-netlist"},
       2,
       "give one of"},
      {{"-lib", "nosuch", "-wrapperview", "verilog", "-default-paths"}, 2, "no library nosuch"},
      {{"-lib", "simcells", "-cell", "nosuch", "-wrapperview", "verilog", "-default-paths"},
       2,
       "no cell nosuch"},
      {{"-lib", "standard", "-wrapperview", "verilog", "-default-paths"},
       2,
       "'vlog_model_path.txt' file does not exist"},
      {{"-lib", "simcells", "-wrapperview", "", "-default-paths"}, 2, "Please mention atleast one"},
      {{"-lib", "simcells", "-wrapperview", "verilog", "-models", "nosuch"},
       2,
       "The mentioned path to verilog models does not exist"},
      {{"-lib", "simcells", "-wrapperview", "verilog", "-models", "demo/models", "-udps", "no"},
       2,
       "The mentioned path to verilog udps does not exist"},
      {{"-lib", "simcells", "-wrapperview", "verilog", "-options", "none.opt"},
       2,
       "The mentioned options file does not exist"},
  };
  for (const Case& c : cases) {
    const ProgramRun result = Verify(c.words);
    EXPECT_EQ(result.status, c.status) << c.words.join(' ').toStdString() << "\n" << result.err;
    EXPECT_NE((result.out + result.err).find(c.text), std::string::npos)
        << c.text << "\n"
        << result.out << result.err;
  }
  EXPECT_FALSE(fs::exists(projectFile.parent_path() / "temp_sim_test")) << "nothing was run";

  dir.write("demo/temp_sim_test", "a file");
  const ProgramRun blocked =
      Verify({"-lib", "passives", "-wrapperview", "verilog", "-default-paths"});
  EXPECT_EQ(blocked.status, 2);
  EXPECT_NE(blocked.err.find("Unable to chdir to : "), std::string::npos) << blocked.err;
}

TEST_F(CellsimCommandTest, AnOptionsFileNamesTheModels) {
  dir.write("sim opts/run.opt", "-y ../demo/models\n-y ../demo/models/udps\n+libext+.v\n");
  const ProgramRun result = Verify({"-lib", "simcells", "-cell", "dff1", "-wrapperview", "verilog",
                                    "-options", "sim opts/run.opt"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_NE(result.err.find("models from"), std::string::npos) << result.err;
}

// The attack's cases: a part named like an option, a simulator killed after writing passing
// reports, a link planted where the scratch folder goes.
TEST_F(CellsimCommandTest, HostileNamesKilledToolsAndPlantedLinks) {
  const fs::path library = projectFile.parent_path() / "libs/simcells";
  fs::copy(library / "buf1", library / "-sim", fs::copy_options::recursive);
  const ProgramRun dashed =
      Verify({"-lib", "simcells", "-cell", "-sim", "-wrapperview", "verilog", "-stop-on-netlist"});
  EXPECT_EQ(dashed.status, 2) << dashed.err;
  EXPECT_NE((dashed.out + dashed.err)
                .find("the cell name \"-sim\" cannot be passed to cellsim: it begins with"),
            std::string::npos)
      << dashed.out << dashed.err;
  EXPECT_FALSE(fs::exists(projectFile.parent_path() / "temp_sim_test/finalstatus.rep"));

  // A link planted where the scratch folder goes: the reports stay in the project.
  const fs::path victim = dir.path() / "victim";
  fs::create_directory(victim);
  fs::create_directory_symlink(victim, projectFile.parent_path() / "temp_sim_test");
  const QStringList clean = {"-lib",         "simcells", "-cell",         "buf1",
                             "-wrapperview", "verilog",  "-default-paths"};
  EXPECT_EQ(Verify(clean).status, 0);
  EXPECT_TRUE(fs::is_empty(victim));
  EXPECT_FALSE(fs::is_symlink(projectFile.parent_path() / "temp_sim_test"));

  dir.write("killed-cellsim",
            "#!/bin/sh\n" KESTRA_BINARY_DIR "/tools/libutil/cellsim \"$@\"\nkill -KILL $$\n");
  fs::permissions(dir.path() / "killed-cellsim", fs::perms::owner_all);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("KESTRA_TOOL_CELLSIM", QString::fromStdString(dir.str() + "/killed-cellsim"));
  const ProgramRun killed = Verify(clean + QStringList{"-json"}, env);
  EXPECT_EQ(killed.status, 2) << killed.err;
  const auto json = nlohmann::json::parse(killed.out);
  EXPECT_EQ(json["verdict"], "unknown");
  EXPECT_EQ(json["cause"], "cellsim was ended by signal 9 (Killed)");
  EXPECT_NE(Scratch("finalstatus.rep").find("PASSED"), std::string::npos)
      << "its report did say passed";
}

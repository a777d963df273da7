// ExecuteCmd: the Java runtime on the search path, dispatch over the command table, and
// the exact argument texts every direct start and converter receives.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "TempDir.h"
#include "base/qvdCommon.h"
#include "cmdline/CKestraCmdLine.h"
#include "cmdline/CommandTable.h"
#include "cmdline/VerifyFlowNames.h"
#include "cmdline/VerifyFlows.h"
#include "convert/CExportXML.h"
#include "convert/CImportXML.h"
#include "framework/Prompter.h"

namespace {

class Dispatch : public ::testing::Test {
 protected:
  void SetUp() override {
    savedPath_ = std::getenv("PATH") ? std::getenv("PATH") : "";
    log_ = dir_.str() + "/launch.log";
    setenv("KESTRA_LAUNCH_LOG", log_.c_str(), 1);
    setenv("KESTRA_STANDIN_LOG", (dir_.str() + "/standin.log").c_str(), 1);
    auto recorder = std::make_unique<RecordingPrompter>();
    prompter_ = recorder.get();
    previous_ = SetPrompter(std::move(recorder));
  }
  void TearDown() override {
    setenv("PATH", savedPath_.c_str(), 1);
    unsetenv("KESTRA_LAUNCH_LOG");
    unsetenv("KESTRA_STANDIN_LOG");
    SetPrompter(std::move(previous_));
  }
  // Runs mode on a fresh command object and returns the launch-log lines it added.
  std::vector<nlohmann::json> Run(const std::string& mode, const std::string& project,
                                  const std::string& session = "", const std::string& host = "") {
    const std::size_t before = Lines().size();
    CKestraCmdLine command;
    command.SetProduct("P");
    command.SetProject(project);
    command.SetMode(mode);
    command.SetMpsSession(session);
    command.SetMpsHost(host);
    command.ExecuteCmd();
    auto lines = Lines();
    return {lines.begin() + static_cast<long>(before), lines.end()};
  }
  std::vector<nlohmann::json> Lines() const {
    std::vector<nlohmann::json> lines;
    std::istringstream in(ReadFile(log_));
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
  }

  TempDir dir_;
  std::string log_;
  std::string savedPath_;
  RecordingPrompter* prompter_ = nullptr;
  std::unique_ptr<Prompter> previous_;
};

struct Expected {
  std::string mode;
  std::string operation;
  std::string arguments;
  std::string executable;
};

TEST_F(Dispatch, EveryStartCommandPassesItsTextExactly) {
  const std::string project = "/d/my proj/p.tak";
  const std::string t1 =
      R"( -qvdlib "/d/my proj/qvd.lib" -proj "/d/my proj/p.tak" -gui  -product P)";
  const std::string t3 = R"( -proj "/d/my proj/p.tak")";
  const std::vector<Expected> table = {
      {"ViewLumenSymbol", "launchLumen", "", ""},
      {"ImportXML", "launchXML2Tes",
       R"(-qvdlib "/d/my proj/qvd.lib" -gui -tmp "/d/my proj/temp" -product P)", "xml2tes.exe"},
      {"ImportLumen", "launchLum2Tes", t1, "lum2tes.exe"},
      {"ImportXML_ToLumen", "launchXML2Lum", " -gui  -product P", "xml2lum.exe"},
      {"ExportXML", "launchTes2XML", R"(-qvdlib "/d/my proj/qvd.lib" -gui  -product P)",
       "tes2xml.exe"},
      {"ExportLumen", "launchTes2Lum", t1, "tes2lum.exe"},
      {"ExportXML_FromLumen", "launchLum2XML", " -gui ", "lum2xml.exe -product P"},
      {"Libvue", "launchLibvue", t3, ""},
      {"Mld", "launchMld", t3 + " -mpssession S1 -mpshost H1", ""},
      {"Pavrel", "launchPavrel", t3, ""},
      {"PadEditor", "launchPadsmith", "", ""},
      {"SearchPart", "launchPartFinder", t3, ""},
  };
  for (const auto& e : table) {
    const auto lines = Run(e.mode, project, "S1", "H1");
    ASSERT_EQ(lines.size(), 1u) << e.mode;
    // The host runs these commands without the module: the same start, record for record.
    const std::string hostLog = dir_.str() + "/host-" + e.mode + ".log";
    const std::string host = "KESTRA_NONINTERACTIVE=1 KESTRA_LAUNCH_LOG='" + hostLog + "' '" +
                             qvdGetInstallRoot() + "/bin/kestra' -product P -proj '" + project +
                             "' -mode " + e.mode + " -mpssession S1 -mpshost H1";
    ASSERT_EQ(std::system(host.c_str()), 0) << host;
    EXPECT_EQ(nlohmann::json::parse(ReadFile(hostLog)), lines[0]) << e.mode;
    EXPECT_EQ(lines[0]["operation"], e.operation) << e.mode;
    EXPECT_EQ(lines[0]["arguments"], e.arguments) << e.mode;
    EXPECT_EQ(lines[0]["executable"], e.executable) << e.mode;
    // The stand-ins of the install tree are found and started: nothing to report.
    EXPECT_EQ(lines[0]["program"].get<std::string>().rfind(qvdGetInstallRoot() + "/tools/bin/", 0),
              0u)
        << e.mode;
  }
  EXPECT_TRUE(prompter_->messages.empty());
}

TEST_F(Dispatch, MldPassesTheServerOnlyWhenSessionAndHostAreBothKnown) {
  const std::string t3 = R"( -proj "p.tak")";
  EXPECT_EQ(Run("Mld", "p.tak", "S1", "").at(0)["arguments"], t3);
  EXPECT_EQ(Run("Mld", "p.tak", "", "H1").at(0)["arguments"], t3);
  EXPECT_EQ(Run("mld", "p.tak", "S1", "H1").at(0)["arguments"], t3 + " -mpssession S1 -mpshost H1");
}

TEST_F(Dispatch, ModesMatchWholeNamesWithoutRegardToCase) {
  EXPECT_EQ(Run("LIBVUE", "p.tak").size(), 1u);
  EXPECT_EQ(Run("exportxml_fromlumen", "p.tak").at(0)["operation"], "launchLum2XML");
  for (const std::string mode : {"nosuch", "", "Libvu", "Libvue ", "ImportXML_"}) {
    prompter_->messages.clear();
    EXPECT_TRUE(Run(mode, "p.tak").empty()) << "[" << mode << "] started something";
    ASSERT_EQ(prompter_->messages.size(), 1u) << mode;
    EXPECT_EQ(prompter_->messages[0].text, "Unknown Command Line Option Specified.");
    EXPECT_EQ(prompter_->messages[0].flags, MB_OK);
  }
}

TEST_F(Dispatch, TableHoldsTheTwentyOneCommandsInOrder) {
  const std::vector<std::string> expected = {"ViewSymbol",
                                             "ViewLumenSymbol",
                                             "SetupTemplate",
                                             "ViewFootprint",
                                             "ImportXML",
                                             "ImportLumen",
                                             "ImportXML_ToLumen",
                                             "ExportXML",
                                             "ExportLumen",
                                             "ExportXML_FromLumen",
                                             "Simulation",
                                             "VerifyWithRulex",
                                             "VerifyWithPackaging",
                                             "VerifyWithSimulation",
                                             "VerifyWithTemplate",
                                             "VerifyWithPavrel",
                                             "Libvue",
                                             "Mld",
                                             "Pavrel",
                                             "PadEditor",
                                             "SearchPart"};
  std::vector<std::string> names;
  for (const auto& entry : CommandTable()) names.push_back(entry.name);
  EXPECT_EQ(names, expected);
  for (const auto& name : expected) {
    std::string upper = name;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(FindCommand(upper), FindCommand(name));
    EXPECT_STREQ(FindCommand(name)->name, name.c_str());
  }
}

// The host lists the flows in its usage without loading the module: its list is the registry's.
TEST(VerifyRegistry, TheFlowsTheHostNamesAreTheRegistrysInOrder) {
  std::vector<std::string> registered, named;
  for (const VerifyFlow& flow : RegisteredFlows()) registered.emplace_back(flow.name);
  for (const std::string_view name : kVerifyFlowNames) named.emplace_back(name);
  EXPECT_EQ(registered, named);
}

TEST_F(Dispatch, JavaRuntimeGoesInFrontOfThePathOnEveryCall) {
  setenv("PATH", "/usr/bin:/bin", 1);
  CKestraCmdLine command;
  command.SetMode("nosuch");
  command.ExecuteCmd();
  command.ExecuteCmd();
  const std::string jre = qvdGetInstallRoot() + "/tools/jre/bin";
  EXPECT_EQ(std::string(std::getenv("PATH")), jre + ":" + jre + ":/usr/bin:/bin");

  // A very long search path is taken whole.
  const std::string longPath = "/usr/bin:" + std::string(9000, 'x') + ":/bin";
  setenv("PATH", longPath.c_str(), 1);
  command.ExecuteCmd();
  EXPECT_EQ(std::string(std::getenv("PATH")), jre + ":" + longPath);

  // No search path: the user is told, and the command still runs.
  unsetenv("PATH");
  prompter_->messages.clear();
  command.SetMode("Libvue");
  command.SetProject("p.tak");
  command.ExecuteCmd();
  ASSERT_FALSE(prompter_->messages.empty());
  EXPECT_EQ(prompter_->messages[0].text,
            "Unable to get path environment variable for java installation");
  EXPECT_EQ(Lines().back()["operation"], "launchLibvue");
}

TEST_F(Dispatch, ProjectPathAndNameAreDerivedFromTheProjectFile) {
  CKestraCmdLine command;
  command.SetProject("/lib/proj/board.tak");
  EXPECT_EQ(command.GetProject(), "/lib/proj/board.tak");
  EXPECT_EQ(command.GetProjectPath(), "/lib/proj/");
  EXPECT_EQ(command.GetProjectName(), "board");
  command.SetProject("board.tak");
  EXPECT_EQ(command.GetProjectPath(), "");
  EXPECT_EQ(command.GetProjectName(), "board");
  // Without a directory the converters get "qvd.lib" and "temp" as they are.
  EXPECT_EQ(Run("ImportXML", "board.tak").at(0)["arguments"],
            R"(-qvdlib "qvd.lib" -gui -tmp "temp" -product P)");
  EXPECT_EQ(command.SetProduct("X"), 1);
  EXPECT_EQ(command.GetProduct(), "X");
}

TEST(ConverterTexts, ImportAndExportTextsForAWindowsStyleProjectDirectory) {
  EXPECT_EQ(CImportXML::ArgumentText("C:/lib/proj/", "P"),
            R"(-qvdlib "C:/lib/proj/qvd.lib" -gui -tmp "C:/lib/proj/temp" -product P)");
  EXPECT_EQ(CExportXML::ArgumentText("C:/lib/proj/", "P"),
            R"(-qvdlib "C:/lib/proj/qvd.lib" -gui  -product P)");
}

}  // namespace

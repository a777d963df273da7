// kestra waive and the verbs' -waivers, -fail-on and -min-severity on the example project with
// the stand-in tools: concurrent additions all kept, a waived failing part "passed (waived)" in
// JSON, JUnit and the page, a bad waiver file refused before anything runs, and the findings
// that came between two runs of verify all.
#include <gtest/gtest.h>

#include <QProcess>
#include <algorithm>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "DemoProject.h"
#include "PageData.h"
#include "ProgramRun.h"
#include "TempDir.h"

namespace {

std::string ReadText(const std::filesystem::path& file) {
  std::ifstream in(file);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

ProgramRun Kestra(const QStringList& words, const TempDir& dir) {
  return RunProgram(KESTRA_PROGRAM, words, dir.str());
}

const QStringList kWaive7432 = {"waive",
                                "-rule",
                                "prop_present",
                                "-lib",
                                "standard",
                                "-cell",
                                "7432",
                                "-object",
                                "7432_*",
                                "-reason",
                                "Legacy part: <PART_NAME> is in the symbol"};

TEST(WaiveCommand, ConcurrentAdditionsAreAllKept) {
  TempDir dir;
  constexpr int kWriters = 8;
  std::vector<std::unique_ptr<QProcess>> writers;
  for (int i = 0; i < kWriters; ++i) {
    auto process = std::make_unique<QProcess>();
    process->setWorkingDirectory(QString::fromStdString(dir.str()));
    process->start(KESTRA_PROGRAM,
                   {"waive", "-rule", "r", "-lib", "l", "-cell", QString("p%1").arg(i), "-reason",
                    "accepted", "-author", "ci", "-waivers", "w.txt"});
    writers.push_back(std::move(process));
  }
  for (auto& process : writers) {
    ASSERT_TRUE(process->waitForFinished(60000));
    EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
  }
  const std::string text = ReadText(dir.path() / "w.txt");
  for (int i = 0; i < kWriters; ++i)
    EXPECT_NE(text.find("part=p" + std::to_string(i) + " "), std::string::npos) << text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), kWriters);
  // Without a reason nothing is added.
  EXPECT_EQ(Kestra({"waive", "-rule", "r", "-lib", "l", "-cell", "*", "-reason", " ", "-waivers",
                    "w.txt"},
                   dir)
                .status,
            2);
  EXPECT_EQ(ReadText(dir.path() / "w.txt"), text);
}

TEST(WaiveCommand, WaivedPartPassesInEveryOutputAndGatesHold) {
  TempDir dir;
  CopyDemoProject(dir.path());
  const QStringList rulex = {"verify", "rulex",    "-proj", "demo/demo.tak",
                             "-lib",   "standard", "-cell", "7432"};
  EXPECT_EQ(Kestra(rulex, dir).status, 1);
  EXPECT_EQ(Kestra(rulex + QStringList{"-fail-on", "fatal"}, dir).status, 0);
  EXPECT_EQ(Kestra(rulex + QStringList{"-fail-on", "warning"}, dir).status, 1);

  // A bad waiver file stops the run before the checker starts, naming file and line.
  std::ofstream(dir.path() / "bad.txt") << "# waivers\nrule=prop_present lib=standard\n";
  std::filesystem::remove_all(dir.path() / "demo" / "rulex");
  const ProgramRun bad = Kestra(rulex + QStringList{"-waivers", "bad.txt"}, dir);
  EXPECT_EQ(bad.status, 2);
  EXPECT_NE(bad.err.find("bad.txt:2: "), std::string::npos) << bad.err;
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "demo" / "rulex" / "rx.msg"));

  ASSERT_EQ(Kestra(kWaive7432 + QStringList{"-waivers", "w.txt"}, dir).status, 0);
  const ProgramRun waived =
      Kestra(rulex + QStringList{"-waivers", "w.txt", "-json", "-junit", "out.xml"}, dir);
  EXPECT_EQ(waived.status, 0) << waived.err;
  const auto json = nlohmann::json::parse(waived.out);
  EXPECT_EQ(json["verdict"], "passed (waived)");
  EXPECT_NE(json["finding_records"][0]["waived"].get<std::string>().find("Legacy part"),
            std::string::npos);
  const std::string junit = ReadText(dir.path() / "out.xml");
  EXPECT_NE(junit.find("<property name=\"verdict\" value=\"passed (waived)\"/>"), std::string::npos)
      << junit;
  EXPECT_NE(junit.find("&lt;PART_NAME&gt;"), std::string::npos);  // the reason, escaped
  EXPECT_EQ(junit.find("<failure"), std::string::npos);
}

TEST(WaiveCommand, VerifyAllWaivesFromTheProjectAndListsNewFindings) {
  TempDir dir;
  const auto project = CopyDemoProject(dir.path());
  std::string tak = ReadText(project);
  tak.replace(tak.find("END_GLOBAL"), 0, "verify_waivers 'waivers.txt'\n");
  std::ofstream(project) << tak;
  ASSERT_EQ(Kestra(kWaive7432 + QStringList{"-proj", "demo/demo.tak"}, dir).status, 0);
  const QStringList all = {"verify", "all",   "-proj", "demo/demo.tak", "-lib",       "standard",
                           "-flows", "rulex", "-json", "-html",         "report.html"};
  const ProgramRun first = Kestra(all, dir);
  EXPECT_EQ(first.status, 1) << first.err;  // other parts fail

  // 7400 loses its PART_NAME: a new finding.
  const auto package =
      dir.path() / "demo" / "libs" / "standard" / "7400" / "package" / "package.pkg";
  const std::string pkg = ReadText(package);
  std::stringstream kept;
  std::istringstream lines(pkg);
  for (std::string line; std::getline(lines, line);)
    if (line.find("PART_NAME") == std::string::npos) kept << line << "\n";
  std::ofstream(package) << kept.str();

  const ProgramRun second = Kestra(all + QStringList{"-changed"}, dir);
  const auto json = nlohmann::json::parse(second.out);
  bool waived7432 = false;
  for (const auto& part : json["parts"])
    waived7432 |= part["cell"] == "7432" && part["verdict"] == "passed (waived)";
  EXPECT_TRUE(waived7432) << second.out;
  ASSERT_EQ(json["new_findings"].size(), 1u) << second.out;
  EXPECT_EQ(json["new_findings"][0]["part"], "7400");
  EXPECT_EQ(json["new_findings"][0]["rule"], "prop_present");
  EXPECT_TRUE(json["fixed_findings"].empty());
  const std::string page = ReadText(dir.path() / "report.html");
  EXPECT_NE(
      UnpackedPageData(page, "rows").find("Legacy part: \\u003cPART_NAME\\u003e is in the symbol"),
      std::string::npos);
  EXPECT_NE(page.find("<td>new</td><td>standard</td><td>7400</td><td>rulex</td>"
                      "<td>prop_present</td>"),
            std::string::npos);
}

}  // namespace

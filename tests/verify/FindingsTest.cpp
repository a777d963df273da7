// Reading tools' reports into findings: the documented line form, each flow's own lines,
// lines that cannot be read, and reports that go on for ever.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "TempDir.h"
#include "verify/ReportFindings.h"
#include "verify/packaging/PackagingReports.h"
#include "verify/rulex/RulexFindings.h"
#include "verify/simulation/CellsimPaths.h"
#include "verify/simulation/CellsimReports.h"

namespace {

std::string WriteFile(const TempDir& dir, const std::string& name, const std::string& text) {
  return dir.write(name, text).string();
}

struct Read {
  std::vector<Finding> findings;
  bool truncated = false;
};

Read ReadWith(const std::string& file, const ReportLineReader& own) {
  Read read;
  ReadReportFindings(file, "cell", own, read.findings, read.truncated);
  return read;
}

TEST(Findings, RulexMessageLinesBecomeTypedFindingsAndStrangeLinesAreKept) {
  TempDir dir;
  const std::string log =
      WriteFile(dir, "rx.msg",
                "Rules checker report\n"
                "error 7432 prop_present: 7432_DIP14 lacks property PART_NAME\r\n"
                "oversight my relay body_file_namechipsprt_cross_check: no symbol view\n"
                "fatal - run: unknown rule x\n"
                "error\n"
                "warning 7404 origin_non_centered\n"
                "# info oversights warnings errors fatal total\n"
                "TOTAL 0 1 0 1 1 3\n");
  Read read;
  ReadRulexFindings(log, "7432", read.findings, read.truncated);
  ASSERT_EQ(read.findings.size(), 5u);
  const Finding& prop = read.findings[0];
  EXPECT_EQ(prop.rule, "prop_present");
  EXPECT_EQ(prop.severity, Severity::Error);
  EXPECT_EQ(prop.part, "7432");
  EXPECT_EQ(prop.object, "7432_DIP14");
  EXPECT_EQ(prop.message, "7432_DIP14 lacks property PART_NAME");
  EXPECT_EQ(prop.file, log);
  EXPECT_EQ(prop.line, 2);
  EXPECT_EQ(read.findings[1].part, "my relay");
  EXPECT_EQ(read.findings[1].severity, Severity::Warning);  // an oversight
  EXPECT_EQ(read.findings[2].part, "7432") << "a run finding gets the checked part";
  EXPECT_EQ(read.findings[2].rule, "run");
  for (int i : {3, 4}) {
    EXPECT_EQ(read.findings[i].rule, kUnreadableLineRule);
    EXPECT_EQ(read.findings[i].line, i + 2);
  }
  EXPECT_EQ(read.findings[4].message, "warning 7404 origin_non_centered");
  EXPECT_FALSE(read.truncated);
}

TEST(Findings, DocumentedLinesWinOverTheToolsOwnAndBadOnesAreKept) {
  TempDir dir;
  const std::string file = WriteFile(dir, "r.rep",
                                     "error 7432 prop_present: counted once\n"
                                     "FINDING\tfatal\tpin_missing\tnor2\tB\tno pin B\there\n"
                                     "FINDING\tworse\tx\t-\t-\tm\n"
                                     "FINDING\terror\n"
                                     "FINDING\twarning\tr\t-\t-\t\n");
  const Read read = ReadWith(file, ReadRulexMessageLine);
  ASSERT_EQ(read.findings.size(), 4u);
  EXPECT_EQ(read.findings[0].rule, "pin_missing");
  EXPECT_EQ(read.findings[0].severity, Severity::Fatal);
  EXPECT_EQ(read.findings[0].object, "B");
  EXPECT_EQ(read.findings[0].message, "no pin B\there") << "the message keeps its tabs";
  EXPECT_EQ(read.findings[1].rule, kUnreadableLineRule);
  EXPECT_EQ(read.findings[1].message, "FINDING\tworse\tx\t-\t-\tm");
  EXPECT_EQ(read.findings[2].rule, kUnreadableLineRule);
  EXPECT_EQ(read.findings[3].part, "cell") << "\"-\" is the part of the report";
  EXPECT_EQ(read.findings[3].line, 5);

  // Missing, a folder, a pipe: nothing read, nothing waited for.
  Read none;
  EXPECT_FALSE(ReadReportFindings(dir.str() + "/gone", "", {}, none.findings, none.truncated));
  const std::string fifo = dir.str() + "/fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(ReadReportFindings(fifo, "", {}, none.findings, none.truncated));
  EXPECT_TRUE(none.findings.empty());
}

TEST(Findings, ARunawayReportIsCutAndSaysSo) {
  TempDir dir;
  const std::string file = dir.str() + "/huge.rep";
  {
    std::ofstream out(file);
    out << "ERROR: part p: " << std::string(3 * kMaxReportLine, 'x') << "\n";
    for (std::size_t i = 0; i < kMaxFindings + 5; ++i) out << "WARNING: part p: w\n";
  }
  const Read read = ReadWith(file, ReadPackagerLogLine);
  EXPECT_EQ(read.findings.size(), kMaxFindings);
  EXPECT_TRUE(read.truncated);
  EXPECT_LE(read.findings[0].message.size(), kMaxReportLine);
  EXPECT_EQ(read.findings[1].line, 2) << "a long line is still one line";
}

TEST(Findings, PackagingLogLinesAndAFailureWithoutReasonGetsAStatusFinding) {
  TempDir dir;
  const std::string log = WriteFile(dir, "ftb.rep",
                                    "Packaging check of library packs\n"
                                    "ERROR: part mux2: symbol pin S has no package pin\n"
                                    "WARNING: part table x not found\n"
                                    "ERROR:\n"
                                    "ERROR\n");
  const std::string status = dir.str() + "/status.rep";
  Read read;
  ReadPackagerFindings(status, log, "mux2", Verdict::Failed, read.findings, read.truncated);
  ASSERT_EQ(read.findings.size(), 4u);
  EXPECT_EQ(read.findings[0].part, "mux2");
  EXPECT_EQ(read.findings[0].message, "symbol pin S has no package pin");
  EXPECT_EQ(read.findings[1].severity, Severity::Warning);
  EXPECT_EQ(read.findings[1].message, "part table x not found");
  EXPECT_EQ(read.findings[1].part, "mux2") << "a line about the run is about the report's part";
  for (int i : {2, 3}) {
    EXPECT_EQ(read.findings[i].rule, kUnreadableLineRule) << i;
    EXPECT_EQ(read.findings[i].severity, Severity::Error);
  }

  // The tool said FAILED and nothing else: the status is the finding.
  const std::string quiet = WriteFile(dir, "quiet.rep", "Summary: 1 parts checked, 1 failed\n");
  Read bare;
  ReadPackagerFindings(status, quiet, "mux2", Verdict::Failed, bare.findings, bare.truncated);
  ASSERT_EQ(bare.findings.size(), 1u);
  EXPECT_EQ(bare.findings[0].rule, "status");
  EXPECT_EQ(bare.findings[0].object, status);
  Read passed;
  ReadPackagerFindings(status, quiet, "mux2", Verdict::Passed, passed.findings, passed.truncated);
  EXPECT_TRUE(passed.findings.empty());

  EXPECT_TRUE(ConsistencyFindings("p.tak", "All PASSED", Verdict::Passed).empty());
  const auto failed = ConsistencyFindings("p.tak", "Check FAILED", Verdict::Failed);
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0].object, "p.sum");
}

TEST(Findings, SimulationSummaryAndErrorLogs) {
  TempDir dir;
  const std::string project = dir.str() + "/";
  const std::string summary = CellsimSummaryPath(project);
  const std::string scratch = summary.substr(0, summary.rfind('/'));
  std::filesystem::create_directories(scratch + "/wrapper_error_log");
  std::ofstream(summary) << "cellsim summary: library simcells\n"
                            "ERROR:\n"
                            "WARNING: model folder m holds no .v or .udp file\n"
                            "buf1: netlist PASSED, simulation PASSED\n"
                            "nor2: netlist FAILED, simulation not run\n"
                            "TOTAL: 2 part(s), 1 failed\n"
                            "\n==================\n sim_error_log(s) \n"
                            "nor2 verilog: FAILED again, read from its own file\n";
  std::ofstream(scratch + "/wrapper_error_log/nor2.log")
      << "nor2 verilog: wrapper cnor2 lacks symbol pin B\n";
  Read read;
  ReadCellsimFindings(project, "simcells", {"/gone.log"}, read.findings, read.truncated);
  ASSERT_EQ(read.findings.size(), 5u);
  EXPECT_EQ(read.findings[0].rule, kUnreadableLineRule);
  EXPECT_EQ(read.findings[1].rule, "models");
  EXPECT_EQ(read.findings[1].severity, Severity::Warning);
  EXPECT_EQ(read.findings[2].part, "nor2");
  EXPECT_EQ(read.findings[2].rule, "netlist");
  EXPECT_EQ(read.findings[2].message, "nor2: netlist FAILED, simulation not run");
  EXPECT_EQ(read.findings[3].rule, "pin_missing_in_wrapper");
  EXPECT_EQ(read.findings[3].part, "nor2");
  EXPECT_EQ(read.findings[3].object, "B");
  EXPECT_EQ(read.findings[4].rule, "unreadable_error_log");
}

}  // namespace

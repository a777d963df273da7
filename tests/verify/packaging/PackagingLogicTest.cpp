// The packaging flow's logic without widgets: names and argument texts, the validation type,
// "ppt" values, the ptf directive file, the layout search text, and reading the reports.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "TempDir.h"
#include "verify/packaging/PackagingCommand.h"
#include "verify/packaging/PackagingOptions.h"
#include "verify/packaging/PackagingPtf.h"
#include "verify/packaging/PackagingReports.h"
#include "verify/packaging/PackagingSearchPath.h"

namespace fs = std::filesystem;

namespace {

// Sets an environment variable for one test and restores it after.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedVariable() {
    if (old_) {
      setenv(name_.c_str(), old_->c_str(), 1);
    } else {
      unsetenv(name_.c_str());
    }
  }

 private:
  std::string name_;
  std::optional<std::string> old_;
};

std::string Project(const TempDir& dir, const std::string& body) {
  return dir.write("proj/p.tak", body).string();
}

}  // namespace

TEST(PackagingCommand, NamesStatusLinesAndArgumentTexts) {
  EXPECT_EQ(LibraryNameOfPath("/p/libs/std"), "std");
  EXPECT_EQ(LibraryNameOfPath("c:\\libs\\std"), "std");
  EXPECT_EQ(LibraryNameOfPath("c:std"), "std");
  EXPECT_EQ(LibraryNameOfPath("std"), "std");
  EXPECT_EQ(LibraryParentOfPath("/p/libs/std"), "/p/libs");
  EXPECT_EQ(LibraryParentOfPath("c:\\libs\\std"), "c:\\libs");
  EXPECT_EQ(LibraryParentOfPath("c:std"), "c:");
  EXPECT_EQ(LibraryParentOfPath("std"), "./");

  EXPECT_EQ(PackagingStatusLine(PackagingRunMode::Library, "std", ""), "Library : std");
  EXPECT_EQ(PackagingStatusLine(PackagingRunMode::OnePart, "std", "7400"),
            "Library : std,  Part : 7400");
  EXPECT_EQ(PackagingStatusLine(PackagingRunMode::SeveralParts, "std", ""),
            "Library : std, Parts : Multiple");

  PackagerCommand command;
  command.libraryPath = "/p/libs/std";
  EXPECT_EQ(PackagerArguments(command), "-libdir \"/p/libs\" -lib std -page d ");
  command.mode = PackagingRunMode::OnePart;
  command.cellText = "74ls00";
  command.options = kUptoBoard | kUseProjectPtfFiles;
  command.searchText = SearchTextOf({"/fp", "/more fp"});
  command.ptfFile = "/p/temp/ptf.txt";
  EXPECT_EQ(PackagerArguments(command),
            "-libdir \"/p/libs\" -lib std -cell 74ls00 -page d -netrev -PSMPATH  '/fp'  '/more fp' "
            " -ptfdirectivefile \"/p/temp/ptf.txt\" ");
  // Up to the board without a search text still names the option, with its trailing blank.
  command.options = kUptoBoard;
  command.searchText.clear();
  command.ptfFile.clear();
  EXPECT_EQ(PackagerArguments(command),
            "-libdir \"/p/libs\" -lib std -cell 74ls00 -page d -netrev -PSMPATH  ");
  // Several parts: each mapped name and one blank; a name with a blank arrives as one word.
  command.options = 0;
  command.mode = PackagingRunMode::SeveralParts;
  command.cellText = SeveralPartsCellText("/p/libs/std", {"74LS00", "my relay"});
  EXPECT_EQ(PackagerArguments(command),
            "-libdir \"/p/libs\" -lib std -cell 74ls00 my%20relay  -page d ");
  command.libraryPath = "/p/libs/old parts";
  command.mode = PackagingRunMode::Library;
  EXPECT_EQ(PackagerArguments(command), "-libdir \"/p/libs\" -lib \"old parts\" -page d ");
  EXPECT_EQ(ArgumentWord("say \"hi\""), "\"say \\\"hi\\\"\"");
  // Backslashes before a quote or the closing quote are doubled; elsewhere they stay.
  EXPECT_EQ(QuotedWord("c:\\dir\\"), "\"c:\\dir\\\\\"");
  EXPECT_EQ(QuotedWord("a\\\"b"), "\"a\\\\\\\"b\"");
  EXPECT_EQ(PackagerTool("/opt/k"), "/opt/k/tools/libutil/cellpack.exe");

  // Both boxes clear: -verifyonly, -ignoreFootprint, -ignorePTF in this order.
  EXPECT_EQ(ConsistencyArguments("/p/d.tak", "/p/qvd.lib", "std", "", 0),
            "-product \"ARCHIVIST_PLUS\" -proj \"/p/d.tak\" -qvdlib \"/p/qvd.lib\" -lib \"std\" "
            "-verifyonly -ignoreFootprint -ignorePTF");
  EXPECT_EQ(ConsistencyArguments("/p/d.tak", "/p/qvd.lib", "std", "My \"Part\"",
                                 kUptoBoard | kUseProjectPtfFiles),
            "-product \"ARCHIVIST_PLUS\" -proj \"/p/d.tak\" -qvdlib \"/p/qvd.lib\" -lib \"std\" "
            "-cell \"My \\\"Part\\\"\" -verifyonly");
}

TEST(PackagingOptions, OnlyOneSelectsTheConsistencyCheck) {
  EXPECT_EQ(ValidationTypeOf("1"), ValidationType::ConsistencyCheck);
  for (const char* other : {"01", "1 yes", "one", "", "2"})
    EXPECT_EQ(ValidationTypeOf(other), ValidationType::Packager) << other;
  EXPECT_EQ(ValidationTypeOf(nullptr), ValidationType::Packager);
  ScopedVariable set(kValidationTypeVariable, "1");
  EXPECT_EQ(ValidationTypeFromEnvironment(), ValidationType::ConsistencyCheck);
}

TEST(PackagingPtf, PptValuesBecomeAbsoluteWithBackslashes) {
  EXPECT_EQ(AbsolutePptValue("./parts/a.ptf", "/p/"), "\\p\\parts\\a.ptf");
  EXPECT_EQ(AbsolutePptValue("parts/", "/p"), "\\p\\parts\\");
  EXPECT_EQ(AbsolutePptValue("./tables/", "/p/"), "\\p\\tables");
  EXPECT_EQ(AbsolutePptValue("c:parts", "/p/"), "\\p\\parts");
  EXPECT_EQ(AbsolutePptValue("/abs/a.ptf", "/p/"), "\\abs\\a.ptf");
  EXPECT_EQ(AbsolutePptValue("c:/abs", "/p/"), "c:\\abs");
  EXPECT_EQ(AbsolutePptValue("~/a", "/p/"), "~\\a");
  {
    ScopedVariable unset("KESTRA_PPT_UNSET", nullptr);
    EXPECT_EQ(AbsolutePptValue("$KESTRA_PPT_UNSET/a.ptf", "/p/"), "$KESTRA_PPT_UNSET/a.ptf");
  }
  ScopedVariable parts("KESTRA_PPT_PARTS", "/lib/ptf");
  EXPECT_EQ(AbsolutePptValue("$KESTRA_PPT_PARTS/a.ptf", "/p/"), "\\lib\\ptf\\a.ptf");
  EXPECT_EQ(AbsolutePptValue("%KESTRA_PPT_PARTS%/a.ptf", "/p/"), "\\lib\\ptf\\a.ptf");
  // A value longer than 1024 characters is taken whole: a cut path would name another file.
  const std::string longFolder = "/" + std::string(1500, 'x');
  ScopedVariable longValue("KESTRA_PPT_LONG", longFolder.c_str());
  EXPECT_EQ(AbsolutePptValue("$KESTRA_PPT_LONG/a", "/p/"), "\\" + std::string(1500, 'x') + "\\a");
}

TEST(PackagingPtf, DirectiveFileInOrderEmptyOrCut) {
  TempDir dir;
  const std::string project = Project(dir,
                                      "START_GLOBAL\n"
                                      "include_ppt 'inc'\n"
                                      "ppt './a.ptf' '/b.ptf'\n"
                                      "use_library_ppt 'TRUE'\n"
                                      "END_GLOBAL\n");
  const std::string projectDir = (dir.path() / "proj").string() + "/";
  std::vector<std::string> leftOut;
  const std::string file = WritePtfFile(project, projectDir, leftOut);
  ASSERT_EQ(file, projectDir + "temp/ptf.txt");
  const std::string base = "\\" + projectDir.substr(1, projectDir.size() - 2);
  std::string folder = base;
  for (char& c : folder)
    if (c == '/') c = '\\';
  EXPECT_EQ(ReadFile(file), "use_library_ppt 'TRUE' \nppt '" + folder + "\\a.ptf' '\\b.ptf' \n" +
                                "include_ppt 'inc' \n");
  EXPECT_TRUE(leftOut.empty());
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);

  // None of the four directives: an empty file, still written (and passed on).
  TempDir other;
  const std::string bare = Project(other, "START_GLOBAL\nlibrary 'x'\nEND_GLOBAL\n");
  const std::string bareDir = (other.path() / "proj").string() + "/";
  EXPECT_EQ(WritePtfFile(bare, bareDir, leftOut), bareDir + "temp/ptf.txt");
  EXPECT_TRUE(fs::exists(bareDir + "temp/ptf.txt"));
  EXPECT_EQ(fs::file_size(bareDir + "temp/ptf.txt"), 0u);
  EXPECT_EQ(WritePtfFile(bareDir + "missing.tak", bareDir, leftOut), "");

  // The 4096-byte limit leaves out what does not fit, and says so.
  std::string values;
  for (int i = 0; i < 60; ++i) values += " '/" + std::string(90, 'a' + i % 26) + "'";
  TempDir big;
  const std::string large = Project(big, "START_GLOBAL\nexclude_ppt" + values + "\nEND_GLOBAL\n");
  const auto content = ComposePtfContent(large, "/p/");
  ASSERT_TRUE(content);
  EXPECT_LT(content->text.size(), kPtfFileLimit);
  EXPECT_FALSE(content->leftOut.empty());
  EXPECT_NE(PtfLeftOutText(content->leftOut).find("limited to 4096 bytes"), std::string::npos);
}

TEST(PackagingSearchPath, ProjectFoldersElseTheSetupLibrary) {
  TempDir dir;
  const std::string withPath =
      Project(dir, "START_PAVREL\nPSMPATH './footprints' '/shared fp'\nEND_PAVREL\n");
  std::string problem;
  const std::string setup = LayoutSetupLibrary(KESTRA_BINARY_DIR);
  EXPECT_EQ(LayoutSearchText(withPath, setup, problem), " './footprints'  '/shared fp' ");
  EXPECT_EQ(problem, "");

  TempDir other;
  const std::string withoutPath = Project(other, "START_GLOBAL\nlibrary 'x'\nEND_GLOBAL\n");
  EXPECT_EQ(LayoutSearchText(withoutPath, setup, problem),
            " '" + fs::canonical(KESTRA_BINARY_DIR).string() + "/share/pavrel/footprints' ");
  EXPECT_EQ(problem, "");

  EXPECT_EQ(LayoutSearchText(withoutPath, other.str() + "/no-such-library.so", problem), "");
  EXPECT_EQ(problem.rfind("Failed to load library ", 0), 0u) << problem;
  // A library without the entry point: no text, no crash.
  EXPECT_EQ(LayoutSearchText(withoutPath, std::string(KESTRA_BINARY_DIR) + "/lib/libkestrabase.so",
                             problem),
            "");
  EXPECT_NE(problem.find("has no entry point PvrlSetup"), std::string::npos) << problem;
}

TEST(PackagingReports, VerdictsFromStatusAndLog) {
  TempDir dir;
  const std::string scratch = (dir.path() / "temp_ftb_test").string();
  const auto run = [&](const char* status, const char* log) {
    RemakeDirectory(scratch);
    if (status) dir.write("temp_ftb_test/status.rep", status);
    if (log) dir.write("temp_ftb_test/ftb.rep", log);
    return PackagerVerdict(scratch);
  };
  EXPECT_EQ(run("passed\n", "all fine\n"), Verdict::Passed);  // any case
  EXPECT_EQ(run("Part PASSED\n", "an Error here\n"), Verdict::PassedWithWarnings);
  EXPECT_EQ(run("FAILED\n", "ERROR\n"), Verdict::Failed);
  EXPECT_EQ(run(nullptr, "PASSED\n"), Verdict::Failed);
  EXPECT_EQ(run("", nullptr), Verdict::Failed);
  EXPECT_EQ(run("PASSED\n", nullptr), Verdict::Passed);
  // A keyword straddling the 79-character pieces is not found.
  EXPECT_EQ(run((std::string(76, '.') + "PASSED\n").c_str(), ""), Verdict::Failed);
  EXPECT_EQ(run("PASSED\n", (std::string(77, '.') + "WARNING\n").c_str()), Verdict::Passed);
  // A status that is a directory is unreadable: failed.
  RemakeDirectory(scratch + "/status.rep");
  EXPECT_EQ(PackagerVerdict(scratch), Verdict::Failed);

  EXPECT_EQ(PackagerVerdictMessage(Verdict::Passed),
            "Instantiation and packaging checks PASSED, see log file for details");
  EXPECT_EQ(PackagerVerdictMessage(Verdict::Failed),
            "Instantiation and packaging checks FAILED, see log file for details");
  EXPECT_EQ(PackagerVerdictMessage(Verdict::PassedWithWarnings),
            "Inst. and packaging checks PASSED but some warnings are reported in the log file");
  EXPECT_EQ(PackagerVerdictMessage(Verdict::Unknown), kUnknownPackagingStatus);

  // The per-part copies, overwriting earlier ones; a missing report is not copied.
  run("PASSED\n", nullptr);
  const std::string projectDir = dir.str() + "/";
  dir.write("temp/p.log", "old log");
  CopyPartReports(scratch, projectDir, "p");
  EXPECT_EQ(ReadFile(dir.path() / "temp/p.stat"), "PASSED\n");
  EXPECT_EQ(ReadFile(dir.path() / "temp/p.log"), "old log");
}

TEST(PackagingReports, ConsistencySummary) {
  TempDir dir;
  const std::string project = (dir.path() / "d.tak").string();
  EXPECT_EQ(ConsistencyFile(project, ".sum"), (dir.path() / "d.sum").string());
  EXPECT_EQ(ConsistencySummary(project), kUnknownPackagingStatus);
  EXPECT_EQ(ConsistencyVerdict(ConsistencySummary(project)), Verdict::Unknown);
  dir.write("d.sum", "");
  EXPECT_EQ(ConsistencySummary(project), kUnknownPackagingStatus);
  dir.write("d.sum", "3 parts checked.\nPASSED\n");
  EXPECT_EQ(ConsistencySummary(project), "3 parts checked. PASSED ");
  EXPECT_EQ(ConsistencyVerdict("3 parts. PASSED with warnings"), Verdict::PassedWithWarnings);
  EXPECT_EQ(ConsistencyVerdict("x FAILED"), Verdict::Failed);
  EXPECT_EQ(ConsistencyVerdict("nothing said"), Verdict::Unknown);
}

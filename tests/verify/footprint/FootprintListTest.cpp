// The footprint list, the wildcard filter, the footprint check and the verify file, on real
// folders of a temporary project.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>

#include "TempDir.h"
#include "outside/CFootprint.h"
#include "suite/footprint/WildcardMatch.h"
#include "verify/footprint/FootprintCheck.h"
#include "verify/footprint/FootprintTexts.h"
#include "verify/footprint/FootprintRows.h"

namespace fs = std::filesystem;

namespace {

const std::string kFootprint = "footprint N\npads 2\npitch 50\n";

// A project whose PSMPATH is the given values (none: no PAVREL section).
std::string Project(const TempDir& dir, const std::vector<std::string>& path) {
  std::string text = "START_GLOBAL\ntemp_dir 'temp'\nEND_GLOBAL\n";
  if (!path.empty()) {
    text += "START_PAVREL\nPSMPATH";
    for (const auto& folder : path) text += " '" + folder + "'";
    text += "\nEND_PAVREL\n";
  }
  return dir.write("p.tak", text).string();
}

std::vector<std::pair<std::string, std::string>> Listed(CFootprint& footprints) {
  std::vector<CFootprintItem*> items;
  footprints.GetFootprintList(items);
  std::vector<std::pair<std::string, std::string>> listed;
  for (CFootprintItem* item : items)
    listed.emplace_back(footprints.GetPropValue(item), footprints.GetPropPath(item));
  return listed;
}

int Matches(const std::string& pattern, const std::string& upperName) {
  CFilter filter("*", 0);
  filter.UpdatePattern(pattern);
  return filter.IsMatch(upperName);
}

}  // namespace

TEST(FootprintFilter, WildcardsAndUpperCase) {
  // "*" any run, also none; "?" exactly one character.
  EXPECT_TRUE(Matches("SO*", "SO8"));
  EXPECT_TRUE(Matches("SO*", "SO"));
  EXPECT_FALSE(Matches("SO*", "DIP8"));
  EXPECT_TRUE(Matches("*8", "DIP8"));
  EXPECT_TRUE(Matches("D?P*", "DIP14"));
  EXPECT_FALSE(Matches("D?P", "DP"));
  EXPECT_TRUE(Matches("*I*1*", "DIP14"));
  EXPECT_FALSE(Matches("*I*1*2", "DIP14"));
  // Without wildcards the whole name must match.
  EXPECT_FALSE(Matches("SO", "SO8"));
  EXPECT_TRUE(Matches("SO8", "SO8"));
  // The pattern is upper-cased; the caller hands names in upper case.
  EXPECT_TRUE(Matches("so*", "SO14"));
  EXPECT_FALSE(Matches("SO*", "so14")) << "names are not upper-cased by the filter";
  // Only wildcards: "*" every name, "?" names of one character, an empty pattern everything.
  EXPECT_TRUE(Matches("*", "ANY NAME"));
  EXPECT_TRUE(Matches("**", ""));
  EXPECT_TRUE(Matches("???", "ABC"));
  EXPECT_FALSE(Matches("???", "ABCD"));
  EXPECT_TRUE(Matches("", "WHATEVER"));
  // "?" is one character, not one byte; blanks are ordinary characters.
  EXPECT_TRUE(Matches("R?SISTOR", "R\xC3\xA9SISTOR"));
  EXPECT_TRUE(Matches("SMD ?", "SMD 5"));
  EXPECT_FALSE(WildcardMatch("A?", "A\xC3\xA9X"));
  // Back-tracking over several stars does not lose matches.
  EXPECT_TRUE(WildcardMatch("*AB*AB*", "XABYYABZ"));
  EXPECT_FALSE(WildcardMatch("*AB*AB*", "XABYYAZ"));
}

TEST(FootprintList, BothKindsEachNameOnceInPathOrder) {
  TempDir dir;
  dir.write("a/DIP8.dra", kFootprint);
  dir.write("a/DIP8.psm", kFootprint);
  dir.write("a/ONLYPSM.psm", kFootprint);
  dir.write("a/notes.txt", "not a footprint");
  dir.write("b/DIP8.dra", kFootprint);  // shadowed by a/
  dir.write("b/SO 8 \xC3\xA9.dra", kFootprint);
  dir.write("b/.dra", "no name");
  fs::create_directories(dir.path() / "b" / "FOLDER.dra");
  const std::string project = Project(dir, {"./a", dir.str() + "/b/"});

  CFootprint footprints;
  BuildFootprintList(footprints, project);
  const std::string a = dir.str() + "/a", b = dir.str() + "/b";
  EXPECT_EQ(footprints.SearchPath(), (std::vector<std::string>{a, b}));
  EXPECT_FALSE(footprints.SearchPathIsDefault());
  using Rows = std::vector<std::pair<std::string, std::string>>;
  EXPECT_EQ(Listed(footprints), (Rows{{"DIP8", a}, {"ONLYPSM", a}, {"SO 8 \xC3\xA9", b}}));
  EXPECT_TRUE(footprints.Problems().empty());

  // A name search (option 1) finds the drawing in every folder, in path order.
  CFootprint search;
  EXPECT_EQ(search.CreateFootprintList(project, "DIP8.dra", 0, 1), 2);
  EXPECT_EQ(Listed(search), (Rows{{"DIP8", a}, {"DIP8", b}}));
  CFootprint none;
  EXPECT_EQ(none.CreateFootprintList(project, "ONLYPSM.dra", 0, 1), 0);

  // Emptying the list empties it; building it again gives the same list.
  footprints.DeleteFootprintList();
  EXPECT_TRUE(Listed(footprints).empty());
  BuildFootprintList(footprints, project);
  EXPECT_EQ(Listed(footprints).size(), 3u);
}

TEST(FootprintList, MissingAndUnreadableFoldersAreSkippedAndNamedOnce) {
  TempDir dir;
  dir.write("good/X.dra", kFootprint);
  dir.write("plainfile", "a file where a folder should be");
  const std::string project = Project(dir, {"./missing", "./plainfile", "./good"});
  CFootprint footprints;
  BuildFootprintList(footprints, project);  // ".psm" then ".dra": each folder is read twice
  EXPECT_EQ(Listed(footprints).size(), 1u);
  ASSERT_EQ(footprints.Problems().size(), 2u);
  EXPECT_NE(footprints.Problems()[0].find("missing: no such folder"), std::string::npos)
      << footprints.Problems()[0];
  EXPECT_NE(footprints.Problems()[1].find("plainfile: "), std::string::npos);

  if (::geteuid() != 0) {  // permissions do not stop root
    fs::create_directories(dir.path() / "locked");
    ::chmod((dir.path() / "locked").c_str(), 0);
    CFootprint locked;
    locked.CreateFootprintList(Project(dir, {"./locked"}), ".dra", 0, 0);
    EXPECT_EQ(locked.Problems().size(), 1u);
  }

  // A project that cannot be read lists nothing and says so.
  CFootprint unreadable;
  EXPECT_EQ(unreadable.CreateFootprintList(dir.str() + "/nosuch.tak", ".dra", 0, 0), -1);
  EXPECT_EQ(unreadable.Problems().size(), 1u);
}

TEST(FootprintList, TheInstallDefaultsServeAProjectWithoutAPath) {
  TempDir install;
  install.write("share/pavrel/symbols/SOT23.dra", kFootprint);
  install.write("share/qvdsetup/projmgr/qvd.tak", "START_GLOBAL\nEND_GLOBAL\n");
  const char* saved = std::getenv("QVD_INST_DIR");
  const std::string previous = saved ? saved : "";
  ::setenv("QVD_INST_DIR", install.str().c_str(), 1);
  TempDir dir;
  CFootprint footprints;
  BuildFootprintList(footprints, Project(dir, {}));
  if (saved) {
    ::setenv("QVD_INST_DIR", previous.c_str(), 1);
  } else {
    ::unsetenv("QVD_INST_DIR");
  }
  EXPECT_TRUE(footprints.SearchPathIsDefault());
  EXPECT_EQ(footprints.SearchPath(),
            (std::vector<std::string>{install.str() + "/share/pavrel/symbols"}));
  ASSERT_EQ(Listed(footprints).size(), 1u);
  EXPECT_EQ(Listed(footprints)[0].first, "SOT23");
}

TEST(FootprintList, MatchingRowsKeepTheNameAsFound) {
  TempDir dir;
  dir.write("f/so8.dra", kFootprint);
  dir.write("f/SO14.dra", kFootprint);
  dir.write("f/DIP8.dra", kFootprint);
  CFootprint footprints;
  BuildFootprintList(footprints, Project(dir, {"./f"}));
  CFilter filter("*", 0);
  std::vector<std::string> names;
  for (const FootprintRow& row : MatchingFootprints(footprints, filter, "so*"))
    names.push_back(row.name);
  EXPECT_EQ(names, (std::vector<std::string>{"SO14", "so8"}));
  EXPECT_TRUE(MatchingFootprints(footprints, filter, "QFP*").empty());
  EXPECT_EQ(MatchingFootprints(footprints, filter, "").size(), 3u);
}

TEST(FootprintCheck, FindsEachKindOfFault) {
  TempDir dir;
  const auto good = dir.write("GOOD.dra", "# c\nfootprint good\npads 2\npitch 50\npad 1 0 0\n");
  EXPECT_TRUE(CheckFootprintFile(good.string(), "GOOD").read);
  EXPECT_TRUE(CheckFootprintFile(good.string(), "GOOD").findings.empty());

  const auto bad = dir.write("BAD.dra",
                             "pads 2\nfootprint OTHER\npitch 0.8mm\npad 3 0 0\npad 1 x 0\n"
                             "pad 3 1 1\nsilk 1\nfootprint BAD\n");
  const FootprintCheck check = CheckFootprintFile(bad.string(), "BAD");
  const std::vector<std::string> expected = {
      "line 1: \"pads\" before the footprint statement",
      "line 2: footprint OTHER in the file of BAD",
      "line 3: pitch needs a number above 0",
      "line 5: pad needs a pad number and two coordinates",
      "line 7: unknown statement \"silk\"",
      "line 8: a second footprint statement",
      "line 4: pad 3 outside 1..2",
      "line 6: pad 3 outside 1..2",
      "line 6: pad 3 again",
  };
  EXPECT_EQ(check.findings, expected);

  const auto empty = dir.write("E.dra", "\n# nothing\n");
  EXPECT_EQ(CheckFootprintFile(empty.string(), "E").findings,
            (std::vector<std::string>{"no footprint statement", "no pads statement",
                                      "no pitch statement"}));
  EXPECT_FALSE(CheckFootprintFile(dir.str() + "/none.dra", "none").read);
}

TEST(FootprintVerifyFile, WrittenWholeReplacingLinksNeverFollowingThem) {
  TempDir dir;
  const std::string projectDir = dir.str() + "/";
  const std::string path = FootprintVerifyFilePath(projectDir);
  EXPECT_EQ(path, projectDir + "temp/pavrel_verify.txt");
  // No "temp": not created here.
  EXPECT_FALSE(WriteFootprintVerifyFile(path));
  EXPECT_FALSE(fs::exists(dir.path() / "temp"));

  fs::create_directories(dir.path() / "temp");
  dir.write("temp/pavrel_verify.txt", "an older and much longer request\n");
  ASSERT_TRUE(WriteFootprintVerifyFile(path));
  EXPECT_EQ(ReadFile(path), "check symbol");

  // A planted link is replaced by the file; its target keeps its content.
  const auto victim = dir.write("victim.txt", "keep me");
  fs::remove(path);
  fs::create_symlink(victim, path);
  ASSERT_TRUE(WriteFootprintVerifyFile(path));
  EXPECT_EQ(ReadFile(victim), "keep me");
  EXPECT_FALSE(fs::is_symlink(path));
  EXPECT_EQ(ReadFile(path), "check symbol");
  // Nothing else is left in the folder.
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path() / "temp"), fs::directory_iterator()),
            1);
  EXPECT_EQ(SetupDeskArguments("/d/my proj/p.tak"), " -proj \"/d/my proj/p.tak\"");
  EXPECT_EQ(FootprintDrawingName("SO8"), "SO8.dra");
}

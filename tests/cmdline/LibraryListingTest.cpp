// The text listing of a project's libraries (kestra libs) over the example project.
#include <gtest/gtest.h>

#include <sstream>

#include "TempDir.h"
#include "cmdline/ListingVerbs.h"

TEST(LibraryListing, ListsTheExampleProjectsLibrariesCellsAndViews) {
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(
      ListProjectLibraries(std::string(KESTRA_SOURCE_DIR) + "/examples/demo/demo.tak", out, err), 0)
      << err.str();
  const std::string text = out.str();
  for (const char* expected :
       {"Project libraries", "  standard  ", "  passives  ", "Reference libraries", "  refparts  ",
        "    74ls125  [package sym_1 verilog vhdl]", "    lm358  ["}) {
    EXPECT_NE(text.find(expected), std::string::npos) << expected << "\n" << text;
  }
  EXPECT_LT(text.find("standard"), text.find("passives"));
  EXPECT_TRUE(err.str().empty());
}

TEST(LibraryListing, ProjectWithoutListsReportsAndFails) {
  TempDir dir;
  const auto project = dir.write("p.tak", "START_GLOBAL\nEND_GLOBAL\n");
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(ListProjectLibraries(project.string(), out, err), 1);
  EXPECT_NE(err.str().find("qvd.lib: library list file not found"), std::string::npos);
  EXPECT_NE(out.str().find("Reference libraries: none"), std::string::npos);
}

TEST(LibraryListing, NamesCannotDriveTheTerminal) {
  TempDir dir;
  const auto project = dir.write("p.tak", "START_GLOBAL\nEND_GLOBAL\n");
  const std::string cell = "red\x1b[31mcell";
  std::filesystem::create_directories(dir.path() / "lib" / cell / "sym_1");
  dir.write("qvd.lib", "lib lib\n");
  std::ostringstream out, err;
  ListProjectLibraries(project.string(), out, err);
  EXPECT_EQ(out.str().find('\x1b'), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("red\\x1b[31mcell"), std::string::npos) << out.str();
}

// Which program a launcher operation starts.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "TempDir.h"
#include "suite/launcher/ProgramResolver.h"

namespace {

std::string MakeProgram(const TempDir& dir, const std::string& relative) {
  const auto file = dir.write(relative, "#!/bin/sh\n");
  ::chmod(file.c_str(), 0755);
  return file.string();
}

TEST(ProgramResolver, VariableThenExecutableThenToolsFolder) {
  TempDir root;
  TempDir other;
  const std::string tools = root.str() + "/tools/bin";
  const std::string path = other.str() + ":/usr/bin";

  // The operation names the tool: tools/bin/<name in lower case>, found or not.
  EXPECT_EQ(ResolveProgram("launchPartFinder", "", root.str(), path), tools + "/partfinder");
  EXPECT_EQ(ToolVariableName("launchPartFinder"), "KESTRA_TOOL_PARTFINDER");

  // ".exe" is dropped when only the name without it exists; tools/bin comes before PATH.
  MakeProgram(other, "tes2xml");
  EXPECT_EQ(ResolveProgram("launchTes2XML", "tes2xml.exe", root.str(), path),
            other.str() + "/tes2xml");
  MakeProgram(root, "tools/bin/tes2xml");
  EXPECT_EQ(ResolveProgram("launchTes2XML", "tes2xml.exe", root.str(), path), tools + "/tes2xml");
  // A file that really is called "x.exe" is taken as it is.
  MakeProgram(other, "odd.exe");
  EXPECT_EQ(ResolveProgram("launchXML2Tes", "odd.exe", root.str(), path), other.str() + "/odd.exe");
  // A file that is there but not executable does not hide a later one on PATH.
  root.write("tools/bin/cat", "not a program");
  EXPECT_EQ(ResolveProgram("launchLum2Tes", "cat", root.str(), "/bin"), "/bin/cat");
  // Not found anywhere: the expected place, so the user hears which program is missing.
  EXPECT_EQ(ResolveProgram("launchLum2Tes", "lum2tes.exe", root.str(), path), tools + "/lum2tes");
  // A path is taken as given (".exe" dropped when needed).
  const std::string full = MakeProgram(other, "sub/conv");
  EXPECT_EQ(ResolveProgram("launchLum2Tes", full + ".exe", root.str(), path), full);

  // The variable wins over everything.
  setenv("KESTRA_TOOL_TES2XML", "/opt/x/tes2xml", 1);
  EXPECT_EQ(ResolveProgram("launchTes2XML", "tes2xml.exe", root.str(), path), "/opt/x/tes2xml");
  setenv("KESTRA_TOOL_TES2XML", "", 1);  // empty counts as unset
  EXPECT_EQ(ResolveProgram("launchTes2XML", "tes2xml.exe", root.str(), path), tools + "/tes2xml");
  unsetenv("KESTRA_TOOL_TES2XML");
}

TEST(ProgramResolver, WhyAProgramCannotRun) {
  TempDir dir;
  EXPECT_EQ(WhyNotRunnable(MakeProgram(dir, "ok")), "");
  EXPECT_EQ(WhyNotRunnable(dir.str() + "/missing"), "No such file or directory");
  EXPECT_EQ(WhyNotRunnable(dir.str()), "it is a directory");
  EXPECT_EQ(WhyNotRunnable(dir.write("plain", "x").string()), "Permission denied");
}

}  // namespace

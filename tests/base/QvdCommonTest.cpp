// The install root and the setup-file search order.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "TempDir.h"
#include "base/qvdCommon.h"

namespace {

TEST(QvdCommon, InstallRootFromEnvironmentOrProgramLocation) {
  setenv("QVD_INST_DIR", "/opt/suite/", 1);
  EXPECT_EQ(qvdGetInstallRoot(), "/opt/suite");
  EXPECT_EQ(qvdGetInstPath(nullptr), "/opt/suite");
  EXPECT_EQ(qvdGetInstPath("qvdsetup/projmgr/qvd.tak"), "/opt/suite/qvdsetup/projmgr/qvd.tak");
  unsetenv("QVD_INST_DIR");
  // This test runs from <build>/tests, so the root is the build tree.
  EXPECT_EQ(std::filesystem::canonical(qvdGetInstallRoot()),
            std::filesystem::canonical(KESTRA_BINARY_DIR));
  setenv("QVD_INST_DIR", KESTRA_BINARY_DIR, 1);
}

TEST(QvdCommon, SearchTakesTheFirstExistingMatch) {
  QSFHANDLE handle = nullptr;
  ASSERT_EQ(qsfInitialize(&handle), 0);
  ASSERT_NE(handle, nullptr);
  TempDir dir;
  dir.write("b/qvdsetup/x.tak", "b");
  dir.write("c/qvdsetup/x.tak", "c");
  dir.write("a/qvdsetup/only-a.tak", "a");
  std::filesystem::create_directories(dir.path() / "a/qvdsetup/x.tak");  // a folder: no match
  const std::string path = dir.str() + "/a::" + dir.str() + "/b:" + dir.str() + "/c";
  setenv("QSF_SEARCH_PATH", path.c_str(), 1);
  std::string found;
  ASSERT_EQ(qsfSearch(handle, "qvdsetup/x.tak", found), 0);
  EXPECT_EQ(found, dir.str() + "/b/qvdsetup/x.tak");
  EXPECT_EQ(qsfSearch(handle, "qvdsetup/missing.tak", found), QSF_NOT_FOUND);
  EXPECT_STRNE(qsfGetErrorMsg(QSF_NOT_FOUND), "");
  EXPECT_EQ(qsfSearch(nullptr, "qvdsetup/x.tak", found), QSF_BAD_ARGUMENT);

  // Without a search path: ".", then $HOME, then <install root>/share.
  unsetenv("QSF_SEARCH_PATH");
  const auto cwd = std::filesystem::current_path();
  std::filesystem::current_path(dir.path() / "a");
  setenv("HOME", (dir.str() + "/b").c_str(), 1);
  setenv("QVD_INST_DIR", (dir.str() + "/root").c_str(), 1);
  dir.write("root/share/qvdsetup/r.tak", "r");
  EXPECT_EQ(qsfSearch(handle, "qvdsetup/only-a.tak", found), 0);
  EXPECT_EQ(found, "./qvdsetup/only-a.tak");
  EXPECT_EQ(qsfSearch(handle, "qvdsetup/x.tak", found), 0);
  EXPECT_EQ(found, dir.str() + "/b/qvdsetup/x.tak");
  EXPECT_EQ(qsfSearch(handle, "qvdsetup/r.tak", found), 0);
  EXPECT_EQ(found, dir.str() + "/root/share/qvdsetup/r.tak");
  std::filesystem::current_path(cwd);
  setenv("QVD_INST_DIR", KESTRA_BINARY_DIR, 1);
}

}  // namespace

// Changes and saving: dropped repeats, inherited directives, refusals, the lock held by another
// process, failures half way, permissions and links.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <thread>

#include "ProjectFixture.h"
#include "projectfile/SpiAtomicFile.h"
#include "projectfile/SpiLastMessage.h"

extern char** environ;

namespace {

using ProjectSave = ProjectFixture;

const char* kInstall =
    "START_GLOBAL\ntext_editor vi\nlibrary std 'Base'\nEND_GLOBAL\n"
    "START_GLOBAL_CONTROL_SETTINGS\ntext_editor lock\nEND_GLOBAL_CONTROL_SETTINGS\n";

// Sets PROGRAM:DIRECTIVE to values through the operations a caller uses; the Save result.
int SetAndSave(const std::string& project, const std::string& program, const std::string& directive,
               const std::vector<std::string>& values) {
  CSpiProject spi;
  if (spi.Open(project) != 0) return -10;
  if (spi.FindProgram(program) != 0) spi.AddProgram(program);
  spi.AddDirective(directive);
  if (spi.ClearValues() != 0) return -11;
  for (const auto& v : values)
    if (spi.AddValue(v) != 0) return -12;
  return spi.Save();
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(ProjectSave, RepeatsOfInheritedValuesAreDropped) {
  Install(kInstall);
  const std::string p = Project("START_GLOBAL\nlibrary STD 'base'\ndesign_name top\nEND_GLOBAL\n");
  CSpiProject spi;
  ASSERT_EQ(spi.Open(p), 0);
  ASSERT_EQ(spi.Save(), 0) << SpiLastMessage();
  const std::string saved = ReadFile(p);
  EXPECT_EQ(saved.find("library"), std::string::npos) << saved;
  EXPECT_NE(saved.find("START_GLOBAL\ndesign_name 'top'\nEND_GLOBAL\n"), std::string::npos);
  EXPECT_NE(saved.find("{ Last modified was "), std::string::npos);
}

TEST_F(ProjectSave, InheritedDirectiveGetsOnlyTheNewValues) {
  const std::string install = Install(kInstall);
  const std::string p = Project("START_GLOBAL\nEND_GLOBAL\n");
  ASSERT_EQ(SetAndSave(p, "GLOBAL", "library", {"mine"}), 0) << SpiLastMessage();
  EXPECT_EQ(ReadFile(install), kInstall);
  EXPECT_NE(ReadFile(p).find("\nlibrary 'mine'\n"), std::string::npos);
  EXPECT_EQ(Value(p, "GLOBAL", "library"), "mine");
  // AddValue alone on the inherited directive starts the project list too.
  CSpiProject spi;
  ASSERT_EQ(spi.Open(p), 0);
  CSpiProgram* added = spi.AddProgram("NEW");
  ASSERT_EQ(added, spi.CurrentProgram());
  spi.AddDirective("x y");
  ASSERT_EQ(spi.AddValue("1"), 0);
  ASSERT_EQ(spi.Save(), 0);
  EXPECT_NE(ReadFile(p).find("START_NEW\n'x y' '1'\nEND_NEW\n"), std::string::npos);
}

TEST_F(ProjectSave, LockedDirectiveRefusesChanges) {
  Install(kInstall);
  const std::string p = Project("START_GLOBAL\ntext_editor emacs\nEND_GLOBAL\n");
  const std::string before = ReadFile(p);
  CSpiProject spi;
  ASSERT_EQ(spi.Open(p), 0);
  ASSERT_EQ(spi.FindDirective("text_editor"), 0);
  EXPECT_EQ(spi.AddValue("nano"), -1);
  EXPECT_EQ(SpiLastMessage().rfind("The directive \"GLOBAL:text_editor\"\ncannot be set to value "
                                   "\"nano\"\nbecause of the following control settings.\n"
                                   "\nDirective Value at\n",
                                   0),
            0u)
      << SpiLastMessage();
  EXPECT_EQ(spi.ClearValues(), -1);
  EXPECT_EQ(SpiLastMessage().rfind("The value of directive \"GLOBAL:text_editor\"\ncannot be "
                                   "modified because of the following control settings.\n",
                                   0),
            0u);
  EXPECT_EQ(spi.CurrentDirective()->Values(2).Values(), std::vector<std::string>{"emacs"});
  EXPECT_NE(TempLog().find("Error" + std::string(54, '-') + "\n\nThe directive"),
            std::string::npos);
  // The refused project value is the project's own setting: saving keeps it.
  ASSERT_EQ(spi.Save(), 0);
  EXPECT_NE(ReadFile(p).find("text_editor 'emacs'"), std::string::npos);
  EXPECT_EQ(before.find("emacs") != std::string::npos, true);
}

TEST_F(ProjectSave, AnotherProcessHoldingTheFileMakesSaveFailWithTheLockNote) {
  Install(kInstall);
  const std::string p = Project("START_GLOBAL\ndesign_name old\nEND_GLOBAL\n");
  const std::string before = ReadFile(p);
  const std::string ready = dir.str() + "/ready";
  const std::string script = "touch '" + ready + "'; sleep 30";
  const char* argv[] = {"flock", "-s", p.c_str(), "-c", script.c_str(), nullptr};
  pid_t child = 0;
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);  // its own group, so the shell goes with it
  ASSERT_EQ(posix_spawnp(&child, "flock", nullptr, &attributes, const_cast<char**>(argv), environ),
            0);
  posix_spawnattr_destroy(&attributes);
  for (int i = 0; i < 500 && !std::filesystem::exists(ready); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  ASSERT_TRUE(std::filesystem::exists(ready));
  EXPECT_EQ(SetAndSave(p, "GLOBAL", "design_name", {"new"}), -1);
  EXPECT_EQ(SpiLastMessage(),
            "SPI_ERROR: Failed to save project file \"" + p +
                "\". SHARE.EXE was not loaded, or a shared region was locked.\nAnother tool which "
                "is running has a lock on the tak file. Exit from other tools invoked on the same "
                "project before starting a new one");
  EXPECT_EQ(ReadFile(p), before);
  kill(-child, SIGKILL);
  int status = 0;
  waitpid(child, &status, 0);
  // The group's other processes let go of the lock when the kernel has ended them.
  for (int i = 0; i < 200; ++i) {
    const int probe = open(p.c_str(), O_RDONLY);
    const bool free = flock(probe, LOCK_EX | LOCK_NB) == 0;
    close(probe);
    if (free) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  // Once the other process has ended, the save goes through.
  EXPECT_EQ(SetAndSave(p, "GLOBAL", "design_name", {"new"}), 0) << SpiLastMessage();
}

TEST_F(ProjectSave, FailureHalfWayLeavesTheOldFileAndNoTemporary) {
  Install(kInstall);
  const std::string p = Project("START_GLOBAL\ndesign_name old\nEND_GLOBAL\n");
  const std::string before = ReadFile(p);
  const auto filesBefore = FilesIn(dir.path() / "proj");
  const std::pair<SpiWriteFault, const char*> faults[] = {
      {SpiWriteFault::kCreate, "The disk is full."},
      {SpiWriteFault::kWrite, "The disk is full."},
      {SpiWriteFault::kSync, "There was a hardware error."},
      {SpiWriteFault::kRename, "An unspecified error occurred."},
  };
  for (const auto& [fault, cause] : faults) {
    CSpiProject spi;
    ASSERT_EQ(spi.Open(p), 0);
    ASSERT_EQ(spi.FindDirective("design_name"), 0);
    ASSERT_EQ(spi.AddValue("more"), 0);
    SpiInjectWriteFault(fault);
    EXPECT_EQ(spi.Save(), -1);
    EXPECT_EQ(SpiLastMessage(), "SPI_ERROR: Failed to save project file \"" + p + "\". " + cause);
    EXPECT_EQ(ReadFile(p), before);
    EXPECT_EQ(FilesIn(dir.path() / "proj"), filesBefore);
  }
  // A scratch copy is replaced the same way but not flushed: a failing rename still leaves
  // the old file, a failing flush is never reached.
  for (const SpiWriteFault fault : {SpiWriteFault::kRename, SpiWriteFault::kSync}) {
    CSpiProject spi;
    spi.SetScratchProject(true);
    ASSERT_EQ(spi.Open(p), 0);
    ASSERT_EQ(spi.FindDirective("design_name"), 0);
    ASSERT_EQ(spi.AddValue("more"), 0);
    SpiInjectWriteFault(fault);
    EXPECT_EQ(spi.Save(), fault == SpiWriteFault::kSync ? 0 : -1);
    SpiInjectWriteFault(SpiWriteFault::kNone);
    if (fault == SpiWriteFault::kRename) {
      EXPECT_EQ(ReadFile(p), before);
    }
  }
}

TEST_F(ProjectSave, PermissionsAndLinksSurvive) {
  Install(kInstall);
  const std::string real = Project("START_GLOBAL\nEND_GLOBAL\n", "real.tak");
  ASSERT_EQ(chmod(real.c_str(), 0640), 0);
  const std::string link = dir.str() + "/proj/link.tak";
  std::filesystem::create_symlink("real.tak", link);
  ASSERT_EQ(SetAndSave(link, "GLOBAL", "design_name", {"d"}), 0) << SpiLastMessage();
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_NE(ReadFile(real).find("design_name 'd'"), std::string::npos);
  struct stat status {};
  ASSERT_EQ(stat(real.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST_F(ProjectSave, UserFileGetsTheUserLevel) {
  Install("START_GLOBAL_CONTROL_SETTINGS\nmine allow_user_tak\nEND_GLOBAL_CONTROL_SETTINGS\n");
  const std::string user = User("START_GLOBAL\nmine u1\nEND_GLOBAL\n");
  const std::string p = Project("START_GLOBAL\nEND_GLOBAL\n");
  ASSERT_EQ(SetAndSave(p, "GLOBAL", "mine", {"u2"}), 0) << SpiLastMessage();
  EXPECT_NE(ReadFile(user).find("START_GLOBAL\nmine 'u2'\nEND_GLOBAL\n"), std::string::npos);
  EXPECT_EQ(ReadFile(p).find("mine"), std::string::npos);
}

TEST_F(ProjectSave, NothingIsSavedFromAFailedOpen) {
  Install(kInstall);
  const std::string p = Project("START_GLOBAL\nkeep me\nbroken 'x\nEND_GLOBAL\n");
  const std::string before = ReadFile(p);
  CSpiProject spi;
  EXPECT_EQ(spi.Open(p), -1);
  EXPECT_EQ(spi.Save(), -1);
  EXPECT_EQ(ReadFile(p), before);
  CSpiProject never;
  EXPECT_EQ(never.Save(), -1);
  EXPECT_EQ(SpiLastMessage(), "SPI_ERROR: No file name to save to");
}

}  // namespace

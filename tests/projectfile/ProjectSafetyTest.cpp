// Saving safely against other programs and hostile files: changes saved after a read are never
// overwritten, only regular files are read or replaced, names and values the format cannot
// hold are refused, read-only and hard-linked files stay, stale temporary files go, and one
// Open writes its log entries with one open.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "ProjectFixture.h"
#include "projectfile/CSpiFile.h"
#include "projectfile/SpiAtomicFile.h"
#include "projectfile/SpiFailureCause.h"
#include "projectfile/SpiLastMessage.h"

namespace {

using ProjectSafety = ProjectFixture;

const char* kChanged =
    "The file was changed by another program after it was read. Nothing was written, so that "
    "change is kept; open the project again and repeat your change.";

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

int Set(CSpiProject& spi, const std::string& directive, const std::string& value) {
  if (spi.FindProgram("GLOBAL") != 0 || spi.AddDirective(directive) != 0) return -2;
  if (spi.ClearValues() != 0) return -3;
  return spi.AddValue(value);
}

TEST_F(ProjectSafety, AChangeSavedAfterTheReadIsNeverOverwritten) {
  Install("START_GLOBAL\nEND_GLOBAL\n");
  const std::string p = Project("START_GLOBAL\nkeep 1\nEND_GLOBAL\n");
  CSpiProject first;
  CSpiProject second;
  ASSERT_EQ(first.Open(p), 0);
  ASSERT_EQ(second.Open(p), 0);
  ASSERT_EQ(Set(second, "x", "second"), 0);
  ASSERT_EQ(second.Save(), 0) << SpiLastMessage();
  const std::string saved = ReadFile(p);
  ASSERT_EQ(Set(first, "y", "first"), 0);
  EXPECT_EQ(first.Save(), -1);
  EXPECT_EQ(SpiLastMessage(), "SPI_ERROR: Failed to save project file \"" + p + "\". " + kChanged);
  EXPECT_EQ(ReadFile(p), saved);
  // The one that saved may save again: it compares with what it wrote itself.
  ASSERT_EQ(Set(second, "z", "again"), 0);
  EXPECT_EQ(second.Save(), 0) << SpiLastMessage();
  EXPECT_EQ(Value(p, "GLOBAL", "x"), "second");
  EXPECT_EQ(Value(p, "GLOBAL", "z"), "again");

  // Changed in place with the same size and modification time: the content tells.
  CSpiProject reader;
  ASSERT_EQ(reader.Open(p), 0);
  struct stat before {};
  ASSERT_EQ(stat(p.c_str(), &before), 0);
  std::string text = ReadFile(p);
  text[text.find("'again'") + 1] = 'A';
  const int fd = open(p.c_str(), O_WRONLY);
  ASSERT_EQ(pwrite(fd, text.data(), text.size(), 0), static_cast<ssize_t>(text.size()));
  const struct timespec times[2] = {before.st_atim, before.st_mtim};
  ASSERT_EQ(futimens(fd, times), 0);
  close(fd);
  struct stat after {};
  ASSERT_EQ(stat(p.c_str(), &after), 0);
  ASSERT_EQ(after.st_ino, before.st_ino);
  ASSERT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
  ASSERT_EQ(Set(reader, "y", "lost?"), 0);
  EXPECT_EQ(reader.Save(), -1);
  EXPECT_EQ(ReadFile(p), text);

  // Removed since the read: not made again from the old model.
  CSpiProject late;
  ASSERT_EQ(late.Open(p), 0);
  std::filesystem::rename(p, p + ".moved");
  EXPECT_EQ(late.Save(), -1);
  EXPECT_NE(SpiLastMessage().find(kChanged), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(p));
}

TEST_F(ProjectSafety, AUserFileThisProjectNeverReadIsNotWritten) {
  Install("START_GLOBAL\nEND_GLOBAL\n");
  const std::string p = Project("START_GLOBAL\nEND_GLOBAL\n");
  CSpiProject early;
  ASSERT_EQ(early.Open(p), 0);  // no user file yet
  const std::string user = User("START_GLOBAL\nmine 1\nEND_GLOBAL\n");
  CSpiProject later;
  ASSERT_EQ(later.Open(p), 0);  // finds it, for the rest of the process
  ASSERT_EQ(Set(early, "x", "1"), 0);
  ASSERT_EQ(early.Save(), 0) << SpiLastMessage();
  EXPECT_EQ(ReadFile(user), "START_GLOBAL\nmine 1\nEND_GLOBAL\n");
  EXPECT_EQ(Value(p, "GLOBAL", "x"), "1");
}

TEST_F(ProjectSafety, OpenForChangeKeepsOtherToolsOutUntilTheSave) {
  Install("START_GLOBAL\nEND_GLOBAL\n");
  const std::string user = User("START_GLOBAL\nEND_GLOBAL\n");
  const std::string p = Project("START_GLOBAL\nEND_GLOBAL\n");
  const std::string probe = "flock -n -s " + p + " true";
  {
    CSpiProject spi;
    ASSERT_EQ(spi.OpenForChange(p), 0) << SpiLastMessage();
    EXPECT_NE(std::system(probe.c_str()), 0);  // another process cannot even read it
    EXPECT_NE(std::system(("flock -n -s " + user + " true").c_str()), 0);  // nor the user file
    // Nor can a second change in this process come in between.
    CSpiProject other;
    EXPECT_EQ(other.OpenForChange(p, std::chrono::milliseconds(0)), -1);
    EXPECT_NE(SpiLastMessage().find("has a lock on the tak file"), std::string::npos);
    ASSERT_EQ(Set(spi, "x", "1"), 0);
    ASSERT_EQ(spi.Save(), 0) << SpiLastMessage();
    EXPECT_EQ(std::system(probe.c_str()), 0);  // the saved files are free at once
    EXPECT_EQ(std::system(("flock -n -s " + user + " true").c_str()), 0);
  }
  // While another process reads, a change waits for it as long as it is told, then gives up.
  const std::string holder = "flock -s " + p + " sleep 2 &";
  ASSERT_EQ(std::system(holder.c_str()), 0);
  for (int i = 0; i < 100 && std::system(("flock -n -x " + p + " true").c_str()) == 0; ++i)
    usleep(10000);
  CSpiProject waiting;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(waiting.OpenForChange(p, std::chrono::milliseconds(300)), -1);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(SpiLastMessage(), "SPI_ERROR: Failed to open project file \"" + p +
                                  "\". SHARE.EXE was not loaded, or a shared region was locked."
                                  "\nAnother tool which is running has a lock on the tak file. "
                                  "Exit from other tools invoked on the same project before "
                                  "starting a new one");
  CSpiProject patient;
  EXPECT_EQ(patient.OpenForChange(p, std::chrono::seconds(10)), 0) << SpiLastMessage();
}

TEST_F(ProjectSafety, OnlyRegularFilesAreReadOrReplaced) {
  Install("START_GLOBAL\nEND_GLOBAL\n");
  const std::string fifo = dir.str() + "/proj/fifo.tak";
  std::filesystem::create_directories(dir.path() / "proj");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string link = dir.str() + "/proj/link.tak";
  std::filesystem::create_symlink("/dev/zero", link);
  const std::string folder = dir.str() + "/proj/folder.tak";
  std::filesystem::create_directories(folder);
  const std::pair<std::string, std::string> cases[] = {
      {fifo, "The path names a FIFO (named pipe), not a regular file; it is not read or written."},
      {link, "The path names a device, not a regular file; it is not read or written."},
      {"/dev/zero", "The path names a device, not a regular file; it is not read or written."},
      {folder, "The path names a directory, not a regular file."},
  };
  for (const auto& [path, cause] : cases) {
    CSpiProject spi;
    EXPECT_EQ(spi.Open(path), -1);
    EXPECT_EQ(SpiLastMessage(),
              "SPI_ERROR: Failed to open project file \"" + path + "\". " + cause);
  }
  auto compose = [](std::optional<std::time_t>) { return std::string("START_X\nEND_X\n"); };
  EXPECT_EQ(SpiReplaceFile(fifo, compose), SPI_CAUSE_IS_FIFO);
  EXPECT_EQ(SpiReplaceFile(link, compose), SPI_CAUSE_IS_DEVICE);
  struct stat status {};
  ASSERT_EQ(stat(fifo.c_str(), &status), 0);
  EXPECT_TRUE(S_ISFIFO(status.st_mode));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  // As root, a device node of our own making (the null device) is not replaced either.
  const std::string node = dir.str() + "/proj/node.tak";
  if (mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0) {
    EXPECT_EQ(SpiReplaceFile(node, compose), SPI_CAUSE_IS_DEVICE);
    ASSERT_EQ(stat(node.c_str(), &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));
  }

  // A FIFO planted as tak.log fails the entry at once instead of hanging.
  Install(
      "START_GLOBAL\nEND_GLOBAL\n"
      "START_GLOBAL_CONTROL_SETTINGS\ntext_editor lock\nEND_GLOBAL_CONTROL_SETTINGS\n");
  const std::string p = Project("START_GLOBAL\nEND_GLOBAL\n");
  CSpiProject spi;
  ASSERT_EQ(spi.Open(p), 0);
  const std::string log = dir.str() + "/tmp/tak.log";
  ASSERT_EQ(mkfifo(log.c_str(), 0600), 0);
  ASSERT_EQ(spi.AddDirective("text_editor"), 0);
  EXPECT_EQ(spi.AddValue("nano"), -1);
  EXPECT_NE(SpiLastMessage().find("SPI_ERROR: Failed to create/open log file \"" + log +
                                  "\". The path names a FIFO"),
            std::string::npos)
      << SpiLastMessage();
}

TEST_F(ProjectSafety, ALineBeyondTheCapIsAnErrorThatNamesIt) {
  Install("START_GLOBAL\nEND_GLOBAL\n");
  const std::string p = Project("START_GLOBAL\nx ");
  // A sparse file: the rest of it reads as zero bytes without a line end.
  ASSERT_EQ(truncate(p.c_str(), static_cast<off_t>(CSpiFile::kMaxLineLength) + (1 << 20)), 0);
  CSpiProject spi;
  EXPECT_EQ(spi.Open(p), -1);
  const std::string message = "SPI_ERROR: Line 2 in \"" + p +
                              "\" is longer than 67108864 bytes, the most a line of a "
                              "project file may hold.";
  EXPECT_EQ(SpiLastMessage(), message);
  EXPECT_EQ(spi.Save(), -1);
  // Streamed by a lookup, the line is refused the same way, not read on without bound.
  EXPECT_EQ(spi.OpenForLookup(p, "GLOBAL", "x"), -1);
  EXPECT_EQ(SpiLastMessage(), message);
}

TEST_F(ProjectSafety, ReadOnlyAndHardLinkedFilesAreNotReplaced) {
  Install("START_GLOBAL\nEND_GLOBAL\n");
  const std::string p = Project("START_GLOBAL\nx 1\nEND_GLOBAL\n");
  const std::string before = ReadFile(p);
  ASSERT_EQ(chmod(p.c_str(), 0444), 0);
  {
    CSpiProject spi;
    ASSERT_EQ(spi.Open(p), 0);
    ASSERT_EQ(Set(spi, "x", "2"), 0);
    // Also as root, who passes every access check.
    EXPECT_EQ(spi.Save(), -1);
    EXPECT_EQ(SpiLastMessage(), "SPI_ERROR: Failed to save project file \"" + p +
                                    "\". The file is read-only: its owner has no write "
                                    "permission for it. Nothing was written.");
    EXPECT_EQ(ReadFile(p), before);
  }
  ASSERT_EQ(chmod(p.c_str(), 0644), 0);
  const std::string other = dir.str() + "/proj/other.tak";
  ASSERT_EQ(link(p.c_str(), other.c_str()), 0);
  CSpiProject spi;
  ASSERT_EQ(spi.Open(p), 0);
  ASSERT_EQ(Set(spi, "x", "2"), 0);
  EXPECT_EQ(spi.Save(), -1);
  EXPECT_NE(SpiLastMessage().find("has more than one hard link"), std::string::npos);
  EXPECT_EQ(ReadFile(p), before);
  struct stat status {};
  ASSERT_EQ(stat(other.c_str(), &status), 0);
  EXPECT_EQ(status.st_nlink, 2u);
}

TEST_F(ProjectSafety, TemporaryFilesOfKilledSavesAreRemovedByTheNextSave) {
  Install("START_GLOBAL\nEND_GLOBAL\n");
  const std::string p = Project("START_GLOBAL\nEND_GLOBAL\n");
  const auto proj = dir.path() / "proj";
  dir.write("proj/.p.tak.tmp123", "left by a killed save");
  dir.write("proj/.p.tak.tmp456", "a save in progress");
  dir.write("proj/.p.tak.tmpx1", "not of our naming");
  dir.write("proj/.q.tak.tmp1", "another file's");
  // A save in progress holds a lock on its temporary file.
  const int busy = open((proj / ".p.tak.tmp456").c_str(), O_RDONLY);
  ASSERT_EQ(system(("flock -x " + (proj / ".p.tak.tmp456").string() + " sleep 5 &").c_str()), 0);
  for (int i = 0; i < 200 && ::flock(busy, LOCK_EX | LOCK_NB) == 0; ++i) {
    ::flock(busy, LOCK_UN);
    usleep(10000);
  }
  close(busy);
  CSpiProject spi;
  ASSERT_EQ(spi.Open(p), 0);
  ASSERT_EQ(Set(spi, "x", "1"), 0);
  ASSERT_EQ(spi.Save(), 0) << SpiLastMessage();
  EXPECT_EQ(FilesIn(proj),
            (std::vector<std::string>{".p.tak.tmp456", ".p.tak.tmpx1", ".q.tak.tmp1", "p.tak"}));
  // Where the unnamed file cannot be given a name, a named temporary file is used instead.
  ASSERT_EQ(Set(spi, "x", "2"), 0);
  ASSERT_EQ(chmod(p.c_str(), 0640), 0);  // a new mode is no change of the contents
  SpiInjectWriteFault(SpiWriteFault::kLink);
  ASSERT_EQ(spi.Save(), 0) << SpiLastMessage();
  EXPECT_EQ(Value(p, "GLOBAL", "x"), "2");
  EXPECT_EQ(FilesIn(proj).size(), 4u);
  struct stat status {};
  ASSERT_EQ(stat(p.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST_F(ProjectSafety, NamesAndValuesTheFormatCannotHoldAreRefusedBeforeAnythingIsWritten) {
  Install("START_GLOBAL\nEND_GLOBAL\n");
  const std::string p = Project("START_GLOBAL\nkeep 1\nEND_GLOBAL\n");
  CSpiProject spi;
  ASSERT_EQ(spi.Open(p), 0);
  EXPECT_EQ(spi.AddProgram("NEW\nSTART_X"), nullptr);
  EXPECT_EQ(SpiLastMessage(),
            "SPI_ERROR: The program name \"NEW\\nSTART_X\" cannot be written in a project file: "
            "it holds a line break.");
  EXPECT_EQ(spi.CurrentProgram(), nullptr);
  EXPECT_EQ(spi.AddDirective("x"), -1);  // nothing lands in another program
  EXPECT_EQ(spi.AddProgram("A B"), nullptr);
  ASSERT_EQ(spi.FindProgram("GLOBAL"), 0);
  EXPECT_EQ(spi.AddDirective("END_GLOBAL"), -1);
  EXPECT_EQ(SpiLastMessage(),
            "SPI_ERROR: The directive name \"END_GLOBAL\" of program \"GLOBAL\" cannot be written "
            "in a project file: alone on a line, it would end the section.");
  EXPECT_EQ(spi.CurrentDirective(), nullptr);
  EXPECT_EQ(spi.AddValue("v"), -1);
  EXPECT_EQ(spi.AddDirective("a' \"b"), -1);
  EXPECT_EQ(spi.AddDirective("x\ny"), -1);
  ASSERT_EQ(spi.AddDirective("ok"), 0);
  EXPECT_EQ(spi.AddValue("a\nb"), -1);
  EXPECT_EQ(SpiLastMessage(),
            "SPI_ERROR: The value \"a\\nb\" of directive \"GLOBAL:ok\" cannot be written in a "
            "project file: it holds a line break.");
  EXPECT_EQ(spi.AddValue("it's \"x\""), -1);
  EXPECT_TRUE(spi.CurrentDirective()->Values(2).Empty());
  ASSERT_EQ(spi.AddValue("it's"), 0);
  ASSERT_EQ(spi.Save(), 0) << SpiLastMessage();
  EXPECT_EQ(Value(p, "GLOBAL", "ok"), "it's");

  // Files that read without error but would be written back differently are not saved.
  const std::pair<std::string, std::string> unwritable[] = {
      {"START_GLOBAL\n'lone'\nEND_GLOBAL\n",
       "The directive name \"'LONE'\" of program \"GLOBAL\" cannot be written in a project "
       "file: alone on a line, a name that begins with a quote keeps it."},
      {"START_GLOBAL\nx a'b\"c\nEND_GLOBAL\n",
       "The value \"a'b\"c\" of directive \"GLOBAL:x\" cannot be written in a project file: it "
       "holds both quote characters (' and \"), and no quoting can hold both."},
      {"START_GLOBAL  extra words\nx 1\nEND_GLOBAL\n",
       "The program name \"GLOBAL  EXTRA WORDS\" cannot be written in a project file: it holds "
       "a blank or a tab."},
  };
  for (const auto& [text, problem] : unwritable) {
    const std::string q = Project(text, "q.tak");
    CSpiProject read;
    ASSERT_EQ(read.Open(q), 0) << text;
    EXPECT_EQ(read.Save(), -1);
    EXPECT_EQ(SpiLastMessage(), "SPI_ERROR: Failed to save project file \"" + q + "\". " + problem +
                                    " Nothing was written.");
    EXPECT_EQ(ReadFile(q), text);
  }
}

// The opens of files named name in folder that inotify reported since the watch began.
int OpensOf(int watch, const std::string& name) {
  int opens = 0;
  alignas(inotify_event) char buffer[1 << 16];
  ssize_t got;
  while ((got = read(watch, buffer, sizeof buffer)) > 0) {
    for (char* at = buffer; at < buffer + got;) {
      const auto* event = reinterpret_cast<const inotify_event*>(at);
      if ((event->mask & IN_OPEN) && event->len > 0 && name == event->name) ++opens;
      at += sizeof(inotify_event) + event->len;
    }
  }
  return opens;
}

TEST_F(ProjectSafety, OneOpenWritesItsLogEntriesWithOneOpen) {
  std::string install = "START_GLOBAL_CONTROL_SETTINGS\n";
  std::string project = "START_GLOBAL\n";
  for (int i = 0; i < 40; ++i) {
    install += "d" + std::to_string(i) + " lock\n";
    project += "d" + std::to_string(i) + " v\n";
  }
  Install(install + "END_GLOBAL_CONTROL_SETTINGS\n");
  const std::string p = Project(project + "END_GLOBAL\n");
  const int watch = inotify_init1(IN_NONBLOCK);
  ASSERT_GE(watch, 0);
  ASSERT_GE(inotify_add_watch(watch, (dir.path() / "tmp").c_str(), IN_OPEN), 0);
  CSpiProject spi;
  ASSERT_EQ(spi.Open(p), 0);
  EXPECT_EQ(OpensOf(watch, "tak.log"), 1);
  const std::string log = TempLog();
  std::size_t at = 0;
  for (int i = 0; i < 40; ++i) {
    const std::string entry = "Information" + std::string(48, '-') +
                              "\n\nThe directive \"GLOBAL:d" + std::to_string(i) + "\" in \"" + p +
                              "\"\nis not being honoured";
    at = log.find(entry, at);
    ASSERT_NE(at, std::string::npos) << "entry " << i;
  }

  // With temp_dir, the entries go straight to the log's new place, which they replace.
  const std::string moved = Project(project + "temp_dir logs\nEND_GLOBAL\n", "m.tak");
  dir.write("proj/logs/tak.log", "old run\n");
  ASSERT_GE(inotify_add_watch(watch, (dir.path() / "proj/logs").c_str(), IN_OPEN), 0);
  OpensOf(watch, "tak.log");  // the reads of this test so far
  CSpiProject other;
  ASSERT_EQ(other.Open(moved), 0);
  EXPECT_EQ(OpensOf(watch, "tak.log"), 1);
  const std::string newLog = ReadFile(dir.path() / "proj/logs/tak.log");
  EXPECT_EQ(newLog.rfind("Information", 0), 0u);
  EXPECT_NE(newLog.find("GLOBAL:d39"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "tmp/tak.log"));
  EXPECT_EQ(other.LogPath(), dir.str() + "/proj/logs/tak.log");
  close(watch);
}

}  // namespace

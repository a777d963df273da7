// The shared watcher with real processes: a program killed outright takes the tool groups it
// still watched with it, and leaves alone a group it had taken off.
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "base/SharedGroupWatch.h"

namespace {

pid_t SleepInOwnSession() {
  posix_spawnattr_t attributes;
  ::posix_spawnattr_init(&attributes);
  ::posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
  char sleepWord[] = "sleep", seconds[] = "60";
  char* argv[] = {sleepWord, seconds, nullptr};
  pid_t pid = -1;
  if (::posix_spawnp(&pid, "sleep", nullptr, &attributes, argv, environ) != 0) pid = -1;
  ::posix_spawnattr_destroy(&attributes);
  return pid;
}

// Ended, a zombie included: whoever inherited it may be slow to reap it.
bool Ended(pid_t pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
  const std::string stat((std::istreambuf_iterator<char>(file)), {});
  const auto close = stat.rfind(')');
  return close == std::string::npos || stat.size() < close + 3 || stat[close + 2] == 'Z';
}

bool EndsWithin10Seconds(pid_t pid) {
  for (int i = 0; i < 400 && !Ended(pid); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  return Ended(pid);
}

}  // namespace

TEST(SharedGroupWatch, EndsTheGroupsOfAProgramKilledOutright) {
  int channel[2];
  ASSERT_EQ(::pipe(channel), 0);
  const pid_t program = ::fork();
  ASSERT_GE(program, 0);
  if (program == 0) {
    // The program: three tools, two of them watched at its death. The watcher is started by
    // a thread that has ended long before: it must owe that thread nothing.
    pid_t tools[3] = {SleepInOwnSession(), SleepInOwnSession(), SleepInOwnSession()};
    bool watched = tools[0] > 0;
    std::thread([&] { watched = watched && SharedGroupWatch::Add(tools[0]); }).join();
    for (int i = 0; i < 4; ++i) std::thread([] {}).join();
    for (pid_t tool : {tools[1], tools[2]})
      watched = watched && tool > 0 && SharedGroupWatch::Add(tool);
    SharedGroupWatch::Remove(tools[2]);
    if (!watched) ::_exit(1);
    (void)!::write(channel[1], tools, sizeof tools);
    ::pause();
    ::_exit(0);
  }
  ::close(channel[1]);
  pid_t tools[3] = {};
  ASSERT_EQ(::read(channel[0], tools, sizeof tools), static_cast<ssize_t>(sizeof tools));
  ::close(channel[0]);
  ::kill(program, SIGKILL);
  ASSERT_EQ(::waitpid(program, nullptr, 0), program);
  EXPECT_TRUE(EndsWithin10Seconds(tools[0]));
  EXPECT_TRUE(EndsWithin10Seconds(tools[1]));
  EXPECT_FALSE(Ended(tools[2])) << "a group taken off the watcher is not its to end";
  ::kill(tools[2], SIGKILL);
}

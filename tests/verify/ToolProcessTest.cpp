// The headless verb's tool run without Qt, with real child processes.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <csignal>
#include <filesystem>
#include <optional>

#include "TempDir.h"
#include "verify/ToolProcess.h"

namespace {

// Runs `/bin/sh -c SCRIPT` as the tool of the operation launchProbe and keeps its pieces.
struct Probe {
  std::vector<std::string> pieces;
  int endSignal = -1;

  explicit Probe(const std::string& script, const char* program = "/bin/sh") {
    ::setenv("KESTRA_TOOL_PROBE", program, 1);
    ToolProcess process;
    process.Run({"launchProbe", "-c \"" + script + "\"", "P"},
                [this](const std::string& piece) { pieces.push_back(piece); });
    endSignal = process.EndSignal();
  }
  std::string Output() const {
    std::string all;
    for (const std::string& piece : pieces) all += piece;
    return all;
  }
};

TEST(ToolProcess, OutputArrivesInPiecesAndTheEndIsTold) {
  TempDir dir;
  const std::string log = dir.str() + "/launch.log";
  ::setenv("KESTRA_LAUNCH_LOG", log.c_str(), 1);
  // Both streams, in order; a part line shows after a short wait, without its line end.
  const Probe talker("echo one; echo two >&2; printf part; sleep 0.3; echo end");
  ::unsetenv("KESTRA_LAUNCH_LOG");
  EXPECT_EQ(talker.Output(), "one\ntwo\npartend\n");
  ASSERT_GE(talker.pieces.size(), 2u);
  EXPECT_NE(std::find(talker.pieces.begin(), talker.pieces.end(), "part"), talker.pieces.end());
  EXPECT_EQ(talker.endSignal, 0);
  EXPECT_NE(ReadFile(log).find("\"operation\":\"launchProbe\""), std::string::npos);

  // Output far beyond one read, written just before the end, arrives whole.
  const Probe flood("yes 0123456789 | head -n 20000");
  EXPECT_EQ(flood.Output().size(), 220000u);

  // Standard input is closed; a crash is told by its signal.
  const Probe reader("read line || echo no input; kill -SEGV $$");
  EXPECT_EQ(reader.Output(), "no input\n");
  EXPECT_EQ(reader.endSignal, SIGSEGV);

  // What the tool leaves running in its group ends with it: the run does not wait for it.
  const Probe leaver("sleep 30 & echo left");
  EXPECT_EQ(leaver.Output(), "left\n");
  // No child of ours is left ended and unreaped: the only one still there is the program's
  // shared watcher, which lives on for the next run.
  EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), 0);

  const Probe missing("true", "/nonexistent/probe");
  ASSERT_EQ(missing.pieces.size(), 1u);
  EXPECT_EQ(missing.pieces[0].rfind("Cannot start /nonexistent/probe: ", 0), 0u);
  EXPECT_EQ(missing.endSignal, 0);
}

// Several tools at once: each in its slot and its own directory, at most two running, every
// end told once before the slot's next tool; one that cannot start ends at once.
TEST(ToolProcess, RunEachRunsToolsSideBySide) {
  TempDir dir;
  ::setenv("KESTRA_TOOL_PROBE", "/bin/sh", 1);
  const std::string marks = dir.str() + "/marks";
  // Each tool notes how many run beside it, from files the others leave while they run.
  const std::string script = "touch " + marks + ".$$; sleep 0.5; ls " + marks +
                             ".* | wc -l > count.txt; rm " + marks + ".$$; pwd";
  std::vector<std::string> folders;
  for (const char* name : {"a", "b", "c"}) {
    folders.push_back(dir.str() + "/" + name);
    std::filesystem::create_directory(folders.back());
  }
  folders.push_back(dir.str() + "/missing");
  std::size_t given = 0;
  std::vector<std::pair<std::size_t, ToolProcess::Outcome>> ends;
  std::vector<bool> slotBusy(2, false);
  std::string output;
  const std::filesystem::path before = std::filesystem::current_path();
  ToolProcess process;
  process.RunEach(
      2,
      [&](std::size_t slot) -> std::optional<ToolProcessStart> {
        EXPECT_FALSE(slotBusy[slot]) << "slot " << slot << " given a tool while one runs";
        if (given == folders.size()) return std::nullopt;
        slotBusy[slot] = true;
        return ToolProcessStart{"launchProbe", "-c \"" + script + "\"", "P", "", folders[given++]};
      },
      [&](std::size_t slot, const ToolProcess::Outcome& outcome) {
        slotBusy[slot] = false;
        ends.emplace_back(slot, outcome);
      },
      [&](const std::string& piece) { output += piece; });
  ASSERT_EQ(ends.size(), 4u);
  for (std::size_t i = 0; i < 3; ++i) {
    EXPECT_NE(output.find(folders[i] + "\n"), std::string::npos) << "ran in its folder";
    const std::string count = ReadFile(folders[i] + "/count.txt");
    EXPECT_TRUE(count == "1\n" || count == "2\n") << count;
  }
  EXPECT_TRUE(ReadFile(folders[0] + "/count.txt") == "2\n" ||
              ReadFile(folders[1] + "/count.txt") == "2\n")
      << "the first two ran side by side";
  const auto missing = std::find_if(
      ends.begin(), ends.end(), [](const auto& end) { return !end.second.startFailure.empty(); });
  ASSERT_NE(missing, ends.end());
  EXPECT_NE(missing->second.startFailure.find("missing"), std::string::npos)
      << missing->second.startFailure;
  EXPECT_EQ(std::filesystem::current_path(), before) << "the process's own directory stays";
}

}  // namespace

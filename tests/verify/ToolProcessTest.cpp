// The headless verb's tool run without Qt, with real child processes.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <csignal>

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

}  // namespace

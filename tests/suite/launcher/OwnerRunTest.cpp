// The owner-window protocol with real child processes: progress pieces in order and within
// 1024 characters, nothing lost, exactly one end message (also after AbortTool and for a
// program that cannot start), the whole process group gone after an abort.
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <QDir>
#include <QElapsedTimer>
#include <cerrno>
#include <memory>

#include "OwnerRecorder.h"
#include "TempDir.h"
#include "framework/Prompter.h"
#include "outside/CToolLauncher.h"
#include "suite/launcher/AttachedToolRun.h"
#include "suite/launcher/ProgressPieces.h"

namespace {

class OwnerRun : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("KESTRA_TOOL_RULEX", "/bin/sh", 1);
    auto recorder = std::make_unique<RecordingPrompter>();
    prompter_ = recorder.get();
    previous_ = SetPrompter(std::move(recorder));
  }
  void TearDown() override {
    unsetenv("KESTRA_TOOL_RULEX");
    SetPrompter(std::move(previous_));
  }
  // Runs a shell script as the rules checker for owner_ and waits for the end.
  void RunScript(const std::string& script, int timeoutMs = 20000) {
    launcher_.launchRulex("-c \"" + script + "\"", "P", &owner_);
    ASSERT_TRUE(owner_.WaitForEnd(timeoutMs)) << "no end message";
  }

  CToolLauncher launcher_;
  OwnerRecorder owner_{launcher_};
  RecordingPrompter* prompter_ = nullptr;
  std::unique_ptr<Prompter> previous_;
};

bool GroupGone(long group, int withinMs) {
  QElapsedTimer clock;
  clock.start();
  while (clock.elapsed() < withinMs) {
    if (::kill(static_cast<pid_t>(-group), 0) != 0 && errno == ESRCH) return true;
    Pump(20);
  }
  return false;
}

TEST(ProgressPieces, CutAtLineEndsWithinTheLimit) {
  std::string buffer = "one\ntwo\nthr";
  EXPECT_EQ(TakeProgressPieces(buffer, false, 6), (std::vector<std::string>{"one\n", "two\n"}));
  EXPECT_EQ(buffer, "thr");
  buffer += std::string(10, 'x');  // a line longer than the limit is cut at the limit
  EXPECT_EQ(TakeProgressPieces(buffer, false, 6), (std::vector<std::string>{"thrxxx", "xxxxxx"}));
  EXPECT_EQ(buffer, "x");
  EXPECT_EQ(TakeProgressPieces(buffer, true, 6), (std::vector<std::string>{"x"}));
  EXPECT_TRUE(buffer.empty());
  buffer = "a\r\nb\r\n";
  EXPECT_EQ(TakeProgressPieces(buffer, false, 1024), (std::vector<std::string>{"a\r\nb\r\n"}));
}

TEST_F(OwnerRun, ManyLinesArriveInOrderInPiecesOfAtMost1024) {
  RunScript("i=1; while [ $i -le 4000 ]; do echo line $i; i=$((i+1)); done; echo tail >&2");
  std::string expected;
  for (int i = 1; i <= 4000; ++i) expected += "line " + std::to_string(i) + "\n";
  expected += "tail\n";
  EXPECT_EQ(owner_.Text(), expected);
  EXPECT_EQ(owner_.progressMessages, static_cast<int>(owner_.pieces.size()));
  for (const auto& piece : owner_.pieces) {
    EXPECT_LE(piece.size(), kProgressPieceLimit);
    EXPECT_EQ(piece.back(), '\n') << "a piece was cut inside a line";
  }
  EXPECT_EQ(owner_.endMessages, 1);
  EXPECT_EQ(owner_.endWParams, std::vector<unsigned long>{1});
  EXPECT_EQ(launcher_.GetProgressDialogDetail(), "") << "pieces left behind";
}

TEST_F(OwnerRun, LongLineWithoutLineEndIsCutAtTheLimitAndNothingIsLost) {
  RunScript("head -c 5000 /dev/zero | tr '\\0' x");
  EXPECT_EQ(owner_.Text(), std::string(5000, 'x'));
  ASSERT_GE(owner_.pieces.size(), 5u);
  for (std::size_t i = 0; i + 1 < owner_.pieces.size(); ++i)
    EXPECT_LE(owner_.pieces[i].size(), kProgressPieceLimit);
  EXPECT_EQ(owner_.endMessages, 1);
}

TEST_F(OwnerRun, ChildRunsInTheCurrentDirectoryWithInputClosed) {
  TempDir dir;
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.str())));
  // cat would wait for ever on an open input; with input closed it ends at once.
  launcher_.launchRulex("-c \"cat; pwd\"", "P", &owner_);
  QDir::setCurrent(before);
  ASSERT_TRUE(owner_.WaitForEnd(10000));
  EXPECT_EQ(owner_.Text(), std::filesystem::canonical(dir.path()).string() + "\n");
}

TEST_F(OwnerRun, ChildThatClosesItsOutputEarlyStillEndsOnce) {
  RunScript("echo early; exec >&- 2>&-; sleep 1");
  EXPECT_EQ(owner_.Text(), "early\n");
  EXPECT_EQ(owner_.endMessages, 1);
}

TEST_F(OwnerRun, MissingProgramTellsWhyAndEndsOnce) {
  TempDir dir;
  const std::string missing = dir.str() + "/no-such-checker";
  setenv("KESTRA_TOOL_RULEX", missing.c_str(), 1);
  EXPECT_EQ(launcher_.launchRulex("-x", "P", &owner_), -1);
  ASSERT_TRUE(owner_.WaitForEnd(5000));
  EXPECT_EQ(owner_.endMessages, 1);
  ASSERT_FALSE(owner_.pieces.empty());
  EXPECT_NE(owner_.pieces.back().find(missing), std::string::npos);
  EXPECT_NE(owner_.pieces.back().find("No such file"), std::string::npos);
  ASSERT_EQ(prompter_->messages.size(), 1u);
  EXPECT_NE(prompter_->messages[0].text.find(missing), std::string::npos);

  // A file that is there but may not be run is reported as such.
  const auto plain = dir.write("plain", "#!/bin/sh\n");
  setenv("KESTRA_TOOL_RULEX", plain.c_str(), 1);
  OwnerRecorder second(launcher_);
  launcher_.launchRulex("", "P", &second);
  ASSERT_TRUE(second.WaitForEnd(5000));
  EXPECT_EQ(second.endMessages, 1);
  EXPECT_NE(second.pieces.back().find("Permission denied"), std::string::npos);
}

TEST_F(OwnerRun, AbortEndsTheWholeGroupAndTheEndStillComesOnce) {
  // The leader ignores the polite signal and leaves a grandchild behind: both must go.
  launcher_.launchRulex("-c \"trap '' TERM; sleep 300 & echo $$; wait; wait\"", "P", &owner_);
  QElapsedTimer clock;
  clock.start();
  while (owner_.pieces.empty() && clock.elapsed() < 10000) Pump(20);
  ASSERT_FALSE(owner_.pieces.empty());
  const long group = std::stol(owner_.pieces.front());
  EXPECT_EQ(launcher_.AbortTool(0xF50B, 1), 0);
  EXPECT_EQ(launcher_.AbortTool(0xF50B, 1), 0) << "a second stop request is harmless";
  ASSERT_TRUE(owner_.WaitForEnd(AttachedToolRun::kGraceMilliseconds + 10000, 300));
  EXPECT_EQ(owner_.endMessages, 1);
  EXPECT_TRUE(GroupGone(group, 5000)) << "process group " << group << " survived";
  EXPECT_EQ(launcher_.AbortTool(0xF50B, 1), -1) << "nothing left to stop";
}

TEST_F(OwnerRun, ToolThatObeysTheStopEndsPromptly) {
  launcher_.launchRulex("-c \"echo $$; exec sleep 300\"", "P", &owner_);
  while (owner_.pieces.empty()) Pump(20);
  const long group = std::stol(owner_.pieces.front());
  QElapsedTimer clock;
  clock.start();
  launcher_.AbortTool(0xF50B, 1);
  ASSERT_TRUE(owner_.WaitForEnd(10000));
  EXPECT_LT(clock.elapsed(), AttachedToolRun::kGraceMilliseconds);
  EXPECT_TRUE(GroupGone(group, 5000));
}

TEST_F(OwnerRun, DestroyedOwnerOrLauncherLeavesNothingRunning) {
  auto doomed = std::make_unique<OwnerRecorder>(launcher_);
  launcher_.launchRulex("-c \"echo start; sleep 1; echo more\"", "P", doomed.get());
  doomed.reset();  // messages for it are dropped from now on
  Pump(1500);

  auto launcher = std::make_unique<CToolLauncher>();
  auto owner = std::make_unique<OwnerRecorder>(*launcher);
  launcher->launchRulex("-c \"echo $$; exec sleep 300\"", "P", owner.get());
  while (owner->pieces.empty()) Pump(20);
  const long group = std::stol(owner->pieces.front());
  owner.reset();
  launcher.reset();
  EXPECT_TRUE(GroupGone(group, 5000));
}

}  // namespace

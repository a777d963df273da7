// Direct starts: detached, logged exactly as composed, failures told to the user; the
// text viewer's editor mapping.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QElapsedTimer>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>

#include "OwnerRecorder.h"
#include "TempDir.h"
#include "framework/Prompter.h"
#include "outside/CToolLauncher.h"

namespace {

class DirectStart : public ::testing::Test {
 protected:
  void SetUp() override {
    log_ = dir_.str() + "/launch.log";
    argv_ = dir_.str() + "/argv.log";
    setenv("KESTRA_LAUNCH_LOG", log_.c_str(), 1);
    setenv("ARGVPRINT_FILE", argv_.c_str(), 1);
    auto recorder = std::make_unique<RecordingPrompter>();
    prompter_ = recorder.get();
    previous_ = SetPrompter(std::move(recorder));
  }
  void TearDown() override {
    for (const char* name : {"KESTRA_LAUNCH_LOG", "ARGVPRINT_FILE", "KESTRA_TOOL_LIBVUE",
                             "KESTRA_TOOL_LUM2XML", "VISUAL", "EDITOR"})
      unsetenv(name);
    SetPrompter(std::move(previous_));
  }
  std::vector<nlohmann::json> Lines(const std::string& file) const {
    std::vector<nlohmann::json> lines;
    std::istringstream in(ReadFile(file));
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
  }
  // The argv lines the detached printer wrote, waiting for count of them.
  std::vector<nlohmann::json> WaitForArgv(std::size_t count) const {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 10000) {
      const std::string text = ReadFile(argv_);
      if (static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) >= count) break;
      Pump(20);
    }
    return Lines(argv_);
  }

  TempDir dir_;
  std::string log_;
  std::string argv_;
  RecordingPrompter* prompter_ = nullptr;
  std::unique_ptr<Prompter> previous_;
  CToolLauncher launcher_;
};

TEST_F(DirectStart, StartsDetachedAndLogsTheTextAsComposed) {
  setenv("KESTRA_TOOL_LIBVUE", ARGVPRINT, 1);
  EXPECT_EQ(launcher_.launchLibvue(R"( -proj "/d/my proj/p.tak")", "P"), 0);
  WaitForArgv(1);  // one at a time, so that the lines come in order
  // The executable text may carry options after the program name.
  setenv("KESTRA_TOOL_LUM2XML", ARGVPRINT, 1);
  EXPECT_EQ(launcher_.launchLum2XML(" -gui ", "lum2xml.exe -product P"), 0);

  const auto argv = WaitForArgv(2);
  ASSERT_EQ(argv.size(), 2u);
  EXPECT_EQ(argv[0], nlohmann::json({"-proj", "/d/my proj/p.tak"}));
  EXPECT_EQ(argv[1], nlohmann::json({"-product", "P", "-gui"}));

  const auto log = Lines(log_);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0]["operation"], "launchLibvue");
  EXPECT_EQ(log[0]["program"], ARGVPRINT);
  EXPECT_EQ(log[0]["arguments"], R"( -proj "/d/my proj/p.tak")");
  EXPECT_EQ(log[0]["product"], "P");
  EXPECT_EQ(log[0]["owner"], "none");
  EXPECT_EQ(log[1]["operation"], "launchLum2XML");
  EXPECT_EQ(log[1]["arguments"], " -gui ");
  EXPECT_EQ(log[1]["executable"], "lum2xml.exe -product P");
  EXPECT_TRUE(prompter_->messages.empty());
}

TEST_F(DirectStart, MissingToolIsReportedWithProgramAndReason) {
  const std::string missing = dir_.str() + "/nowhere/libvue";
  setenv("KESTRA_TOOL_LIBVUE", missing.c_str(), 1);
  EXPECT_EQ(launcher_.launchLibvue(" -proj \"p.tak\"", "P"), -1);
  ASSERT_EQ(prompter_->messages.size(), 1u);
  EXPECT_EQ(prompter_->messages[0].text,
            "Cannot start " + missing + ": No such file or directory.");
  EXPECT_EQ(prompter_->messages[0].flags & MB_ICONERROR, MB_ICONERROR);
  ASSERT_EQ(Lines(log_).size(), 1u) << "the attempt is logged too";
}

TEST_F(DirectStart, TextViewOpensThePathInTheUsersEditor) {
  const std::string quoted = "\"" + dir_.str() + "/my logs/rx.msg\"";
  // "notepad.exe" means the user's editor: $VISUAL first, split like an argument text.
  setenv("VISUAL", (std::string(ARGVPRINT) + " -w").c_str(), 1);
  setenv("EDITOR", "/bin/false", 1);
  EXPECT_EQ(launcher_.launchTextView(quoted, "notepad.exe"), 0);
  WaitForArgv(1);
  unsetenv("VISUAL");
  setenv("EDITOR", ARGVPRINT, 1);
  EXPECT_EQ(launcher_.launchTextView(quoted, "NOTEPAD.EXE"), 0);
  WaitForArgv(2);
  // Any other editor is used as it is given.
  EXPECT_EQ(launcher_.launchTextView(quoted, std::string(ARGVPRINT) + " +1"), 0);

  const auto argv = WaitForArgv(3);
  ASSERT_EQ(argv.size(), 3u);
  const std::string path = dir_.str() + "/my logs/rx.msg";
  EXPECT_EQ(argv[0], nlohmann::json({"-w", path}));
  EXPECT_EQ(argv[1], nlohmann::json({path}));
  EXPECT_EQ(argv[2], nlohmann::json({"+1", path}));
  EXPECT_EQ(Lines(log_).at(0)["arguments"], quoted);

  // No usable editor: the user learns where the file is, what was tried, how to name one.
  unsetenv("VISUAL");
  setenv("EDITOR", (dir_.str() + "/no-editor").c_str(), 1);
  EXPECT_EQ(launcher_.launchTextView(quoted, "notepad.exe"), -1);
  ASSERT_EQ(prompter_->messages.size(), 1u);
  for (const char* word : {"/my logs/rx.msg", "no-editor", "text_editor", "VISUAL", "EDITOR"})
    EXPECT_NE(prompter_->messages[0].text.find(word), std::string::npos) << word;
  unsetenv("EDITOR");
}

}  // namespace

// The host program kestra, run as a real process.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "TempDir.h"

namespace {

const std::string kKestra = std::string(KESTRA_BINARY_DIR) + "/bin/kestra";

struct Outcome {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs kestra with the given words (each passed as one argument) and environment settings.
Outcome RunKestra(const TempDir& dir, const std::string& words, const std::string& env = "") {
  const std::string out = dir.str() + "/out", err = dir.str() + "/err";
  const std::string command = "env " + env + " KESTRA_NONINTERACTIVE=1 " + kKestra + " " + words +
                              " >'" + out + "' 2>'" + err + "' </dev/null";
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out), ReadFile(err)};
}

// The lines of a loader trace (LD_DEBUG) that the first process traced wrote: kestra's own, not
// those of the tools it started, which inherit the setting.
[[maybe_unused]] std::string FirstProcessTrace(const std::string& trace) {
  const std::string pid = trace.substr(0, trace.find(':') + 1);
  std::string own;
  std::size_t start = 0;
  while (start < trace.size()) {
    const std::size_t end = std::min(trace.find('\n', start), trace.size());
    if (trace.compare(start, pid.size(), pid) == 0) own += trace.substr(start, end - start + 1);
    start = end + 1;
  }
  return own;
}

TEST(Host, BadOrMissingArgumentsGetUsageAndStatusTwo) {
  TempDir dir;
  for (const std::string words :
       {"-product P -proj p.tak", "-product P -mode Libvue", "-proj p.tak -mode Libvue",
        "-product P -proj p.tak -mode", "-product P -proj p.tak -mode Libvue -bogus 1", "stray"}) {
    const Outcome o = RunKestra(dir, words);
    EXPECT_EQ(o.status, 2) << words;
    EXPECT_NE(o.err.find("usage: kestra -product"), std::string::npos) << words;
  }
  const Outcome help = RunKestra(dir, "-help");
  EXPECT_EQ(help.status, 0);
  EXPECT_NE(help.out.find("usage: kestra"), std::string::npos);
  EXPECT_NE(help.out.find("SearchPart"), std::string::npos);
  EXPECT_NE(help.out.find("kestra verify all"), std::string::npos);
  EXPECT_NE(help.out.find("rulex"), std::string::npos) << "the flows are listed";
}

TEST(Host, NoArgumentsVersionAndHelpTellWhatKestraIs) {
  TempDir dir;
  // No arguments: the usage, not a complaint about a missing option.
  const Outcome bare = RunKestra(dir, "");
  EXPECT_EQ(bare.status, 0);
  EXPECT_EQ(bare.out.rfind("usage: kestra -product", 0), 0u) << bare.out;
  EXPECT_EQ(bare.err, "");
  for (const std::string words : {"--version", "-version"}) {
    const Outcome version = RunKestra(dir, words);
    EXPECT_EQ(version.status, 0) << words;
    EXPECT_EQ(version.out.rfind("kestra ", 0), 0u) << version.out;
    EXPECT_GT(version.out.size(), 8u);
  }
  EXPECT_EQ(RunKestra(dir, "help").out, bare.out);
  // A verb's help, a flow's help and verify all's help are the verbs' own.
  const std::vector<std::pair<std::string, std::string>> helps = {
      {"help verify", "flows:"},
      {"help verify rulex", "usage: kestra verify rulex"},
      {"help verify all", "usage: kestra verify all"},
      {"help libs", "usage: kestra libs"},
      {"help footprints", "kestra footprints"},
      {"help template", "kestra template extract"},
      {"help report", "usage: kestra report merge"},
      {"help import", "usage: kestra import kicad"},
      {"import -help", "usage: kestra import kicad"}};
  for (const auto& [words, start] : helps) {
    const Outcome help = RunKestra(dir, words);
    EXPECT_EQ(help.status, 0) << words;
    EXPECT_NE(help.out.find(start), std::string::npos) << words << ": " << help.out;
  }
  const Outcome typo = RunKestra(dir, "help verfy");
  EXPECT_EQ(typo.status, 2);
  EXPECT_NE(typo.err.find("did you mean \"verify\"?"), std::string::npos) << typo.err;
}

// In a lean build (not the sanitizers'), kestra itself loads no shared copy of the layers below
// the module, of the part model or of the C++ runtime.
void ExpectNoSharedLayers([[maybe_unused]] const std::string& words,
                          [[maybe_unused]] const Outcome& o) {
#ifdef KESTRA_LEAN_HOST
  const std::string own = FirstProcessTrace(o.err);
  for (const char* library :
       {"libkestrabase", "libspi", "libkestralibformat", "libkestramodel", "libstdc++"})
    EXPECT_EQ(own.find(library), std::string::npos) << "kestra " << words << " loads " << library;
#endif
}

// What the host says by itself (usage, version, a bad command line) and `kestra verify rulex`
// load neither the module nor a Qt, widget, font or display library; the other headless verbs
// and the commands that only start a tool load the headless library alone; a command of the
// module does load them, which shows that the loader's trace would see such a load.
TEST(Host, HeadlessCommandsLoadNoModuleAndNoQt) {
  TempDir dir;
  std::filesystem::copy(std::string(KESTRA_SOURCE_DIR) + "/examples/demo", dir.path() / "demo",
                        std::filesystem::copy_options::recursive);
  const std::string project = "-proj '" + dir.str() + "/demo/demo.tak'";
  const std::string rulex = "verify rulex " + project + " -lib standard -cell 7432";
  const auto loads = [](const Outcome& o, const char* library) {
    return o.err.find(library) != std::string::npos;
  };
  const char* const qt[] = {"libkestraui", "libQt6", "libfontconfig", "libX11",
                            "libxcb",      "libGL",  "libEGL",        "libwayland"};
  // What the host says by itself and the rules checker: no library of the suite at all.
  for (const std::string& words :
       {std::string(), std::string("-help"), std::string("--version"), std::string("help"),
        std::string("stray"), std::string("help nosuch"), std::string("help verify rulex"),
        rulex}) {
    const Outcome o = RunKestra(dir, words, "LD_DEBUG=files");
    ASSERT_TRUE(loads(o, "file=libc.so")) << "no loader trace: " << o.err;
    for (const char* library : qt) EXPECT_FALSE(loads(o, library)) << words << ": " << library;
    EXPECT_FALSE(loads(o, "libkestraheadless")) << words;
    // The layers below the module and the C++ runtime are linked into the host.
    ExpectNoSharedLayers(words, o);
  }
  // The checker ran and its verdict came back: the part lacks a mandatory property.
  const Outcome checked = RunKestra(dir, rulex);
  EXPECT_EQ(checked.status, 1) << checked.err;
  EXPECT_NE(checked.out.find("View verification failed.  Errors:1"), std::string::npos)
      << checked.out;
  // The verbs that need no Qt load the headless library alone, and do their work.
  for (const std::string& words :
       {"libs " + project, "footprints " + project, "verify footprint " + project + " -name soic8",
        "verify template " + project + " -lib standard -cell 7400 -template '" + dir.str() +
            "/demo/templates/logic.tpl'",
        "verify simulation " + project +
            " -lib standard -cell 7400 -wrapperview verilog -models '" + dir.str() +
            "/demo/models'",
        "verify packaging " + project + " -lib standard -cell 7400",
        "verify all " + project + " -lib standard -cell 7400 -j 2", std::string("verify -help"),
        std::string("report merge -help"), std::string("waive -help"),
        std::string("import kicad -help"), std::string("template extract -help"),
        // Commands that only start a tool.
        "-product P " + project + " -mode Libvue", "-product P " + project + " -mode ImportXML"}) {
    const Outcome o = RunKestra(dir, words, "LD_DEBUG=files");
    EXPECT_TRUE(loads(o, "libkestraheadless")) << words;
    // The headless library carries them itself, and the part model.
    ExpectNoSharedLayers(words, o);
    for (const char* library : qt) EXPECT_FALSE(loads(o, library)) << words << ": " << library;
    EXPECT_EQ(o.status, 0) << words << ": " << o.err;
  }
  EXPECT_NE(RunKestra(dir, "libs " + project).out.find("7432  [package sym_1 verilog vhdl]"),
            std::string::npos);
  // A command of the module loads it, with Qt: the trace would show them.
  const Outcome module = RunKestra(dir, "-product P -proj p.tak -mode nosuch", "LD_DEBUG=files");
  EXPECT_TRUE(loads(module, "libQt6Widgets") && loads(module, "libkestraui")) << module.err;
}

TEST(Host, UnknownModeIsReportedAndStartsNothing) {
  TempDir dir;
  const std::string log = dir.str() + "/launch.log";
  const Outcome o =
      RunKestra(dir, "-product P -proj p.tak -mode nosuch", "KESTRA_LAUNCH_LOG=" + log);
  EXPECT_EQ(o.status, 2);
  EXPECT_NE(o.err.find("Unknown Command Line Option Specified."), std::string::npos) << o.err;
  EXPECT_NE(o.err.find("unknown command \"nosuch\""), std::string::npos) << o.err;
  EXPECT_EQ(ReadFile(log), "");

  // A typo: the module's message as it is, then the word and the nearest command.
  const Outcome typo = RunKestra(dir, "-product P -proj p.tak -mode VerifyWithRulx");
  EXPECT_EQ(typo.status, 2);
  const auto module = typo.err.find("Unknown Command Line Option Specified.");
  const auto host =
      typo.err.find("unknown command \"VerifyWithRulx\"; did you mean VerifyWithRulex?");
  ASSERT_NE(host, std::string::npos) << typo.err;
  EXPECT_LT(module, host) << typo.err;
  // Case does not matter for a known command.
  EXPECT_EQ(
      RunKestra(dir, "-product P -proj p.tak -mode libVUE", "KESTRA_LAUNCH_LOG=" + log).status, 0);
}

TEST(Host, ToolStartReachesTheToolWithTheProjectAsOneWord) {
  TempDir dir;
  const std::string log = dir.str() + "/launch.log";
  const std::string standin = dir.str() + "/standin.log";
  const Outcome o = RunKestra(dir, "-product P -proj '/d/my proj/p.tak' -mode Libvue -mpssession S",
                              "KESTRA_LAUNCH_LOG=" + log + " KESTRA_STANDIN_LOG=" + standin);
  EXPECT_EQ(o.status, 0) << o.err;
  const auto line = nlohmann::json::parse(ReadFile(log));
  EXPECT_EQ(line["operation"], "launchLibvue");
  EXPECT_EQ(line["arguments"], " -proj \"/d/my proj/p.tak\"");
  EXPECT_EQ(line["product"], "P");
  for (int i = 0; i < 200 && ReadFile(standin).empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  const auto started = nlohmann::json::parse(ReadFile(standin));
  EXPECT_EQ(started["tool"], "libvue");
  EXPECT_EQ(started["arguments"], nlohmann::json({"-proj", "/d/my proj/p.tak"}));
}

TEST(Host, DirectStartOutlivesTheHost) {
  TempDir dir;
  const std::string marker = dir.str() + "/late";
  const auto tool = dir.write("slowtool", "#!/bin/sh\nsleep 1\necho \"$@\" > '" + marker + "'\n");
  ASSERT_EQ(::chmod(tool.c_str(), 0755), 0);
  const Outcome o = RunKestra(dir, "-product P -proj p.tak -mode PadEditor",
                              "KESTRA_TOOL_PADSMITH=" + tool.string());
  EXPECT_EQ(o.status, 0) << o.err;
  EXPECT_FALSE(std::filesystem::exists(marker)) << "the host waited for the tool";
  for (int i = 0; i < 200 && ReadFile(marker).empty(); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  EXPECT_EQ(ReadFile(marker), "\n") << "the tool did not run on after the host";
}

TEST(Host, MissingToolIsToldWithoutCrashOrHang) {
  TempDir dir;
  const Outcome o = RunKestra(dir, "-product P -proj p.tak -mode ImportXML",
                              "KESTRA_TOOL_XML2TES=" + dir.str() + "/gone");
  EXPECT_EQ(o.status, 2) << "a start that failed is no success";
  EXPECT_NE(o.err.find("error: Cannot start " + dir.str() + "/gone: No such file or directory."),
            std::string::npos)
      << o.err;
  // A file that may be run but is no program fails in its exec, after the start was made:
  // the exec's own error comes back.
  const auto junk = dir.write("junk", "not a program\n");
  ASSERT_EQ(::chmod(junk.c_str(), 0755), 0);
  const Outcome exec = RunKestra(dir, "-product P -proj p.tak -mode PadEditor",
                                 "KESTRA_TOOL_PADSMITH=" + junk.string());
  EXPECT_EQ(exec.status, 2);
  EXPECT_NE(exec.err.find("error: Cannot start " + junk.string() + ": Exec format error."),
            std::string::npos)
      << exec.err;
}

}  // namespace

TEST(Host, DialogCommandsWithoutADisplayAreRefusedAtOnce) {
  TempDir dir;
  dir.write("p.tak", "START_GLOBAL\nEND_GLOBAL\n");
  for (const std::string env : {"-u DISPLAY -u WAYLAND_DISPLAY", "DISPLAY=:99"}) {
    // RunKestra sets KESTRA_NONINTERACTIVE=1: nobody could answer a dialog either way.
    const Outcome o = RunKestra(dir, "-product P -proj p.tak -mode verifywithrulex", env);
    EXPECT_EQ(o.status, 2) << env;
    EXPECT_NE(o.err.find("opens a dialog and needs a display"), std::string::npos) << o.err;
  }
  // Tool starts need no display.
  EXPECT_EQ(RunKestra(dir, "-product P -proj p.tak -mode Libvue", "-u DISPLAY").status, 0);
}

TEST(Host, AProjectPathThatWouldInjectOptionsStartsNothing) {
  TempDir dir;
  const std::string folder = dir.str() + "/a\" -product \"evil";
  std::filesystem::create_directories(folder);
  const std::string log = dir.str() + "/launch.log";
  const Outcome o = RunKestra(dir, "-product P -proj '" + folder + "/p.tak' -mode Libvue",
                              "KESTRA_LAUNCH_LOG=" + log);
  EXPECT_EQ(o.status, 2);
  EXPECT_NE(o.err.find("cannot be passed to a tool intact (it holds a double quote)"),
            std::string::npos)
      << o.err;
  EXPECT_EQ(ReadFile(log), "") << "nothing was started";
}

// `kestra template extract` and `kestra verify template` as real child processes over a copy
// of the example project.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>

#include <string>
#include <vector>

#include "DemoProject.h"
#include "TempDir.h"

extern char** environ;

namespace {

struct Outcome {
  int status = -1;
  std::string out, err;
};

class TemplateVerbTest : public ::testing::Test {
 protected:
  void SetUp() override { project = CopyDemoProject(dir.path()).string(); }

  // Runs build/bin/kestra with words, standard output and error into files.
  Outcome Kestra(std::vector<std::string> words) {
    words.insert(words.begin(), KESTRA_BINARY_DIR "/bin/kestra");
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const std::string out = dir.str() + "/out.txt", err = dir.str() + "/err.txt";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    Outcome run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) {
      int status = 0;
      waitpid(pid, &status, 0);
      run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadFile(out);
    run.err = ReadFile(err);
    return run;
  }

  TempDir dir;
  std::string project;
};

}  // namespace

TEST_F(TemplateVerbTest, ExtractThenVerifyCleanAndBrokenParts) {
  const std::string clean = dir.str() + "/clean.tpl";
  const Outcome extract = Kestra({"template", "extract", "-proj", project, "-lib", "tmplparts",
                                  "-cell", "tpl_clean", "-o", clean});
  ASSERT_EQ(extract.status, 0) << extract.err;
  EXPECT_EQ(extract.out, ReadFile(clean)) << "prints what it wrote";
  EXPECT_NE(extract.out.find("tristate  0.02  0.4\n"), std::string::npos) << extract.out;
  EXPECT_EQ(extract.err.find("not \"standardized\""), std::string::npos) << extract.err;

  const Outcome same = Kestra({"verify", "template", "-proj", project, "-lib", "tmplparts", "-cell",
                               "tpl_clean", "-template", clean});
  EXPECT_EQ(same.status, 0) << same.err;
  EXPECT_EQ(same.out, "No differences found in Part from the selected template\n");

  const Outcome broken = Kestra({"verify", "template", "-proj", project, "-lib", "tmplparts",
                                 "-cell", "tpl_loads", "-template", clean, "-aspects", "2,4"});
  EXPECT_EQ(broken.status, 1) << broken.err;
  EXPECT_EQ(broken.out, "1 difference from template " + clean + "\n");
  EXPECT_NE(broken.err.find("  Part tmplparts/tpl_loads: pin loads: pin A (input) of physical "
                            "part TPL_LOADS_DIP8: expected input 0.01 output -, found input "
                            "0.05 output -\n"),
            std::string::npos)
      << broken.err;

  // The whole library against the site template: one result per part, as JSON.
  const Outcome library = Kestra({"verify", "template", "-proj", project, "-lib", "tmplparts",
                                  "-template", dir.str() + "/demo/templates/site.tpl", "-json"});
  EXPECT_EQ(library.status, 1);
  for (const char* part : {"tpl_clean", "tpl_loads", "tpl_props", "tpl_symbol"})
    EXPECT_NE(library.out.find(std::string("\"cell\": \"") + part + "\""), std::string::npos)
        << library.out;
  EXPECT_NE(library.out.find("found \\\"ASIC\\\""), std::string::npos) << library.out;

  // A reference library is read through refqvd.lib.
  const Outcome reference =
      Kestra({"verify", "template", "-proj", project, "-lib", "refparts", "-ref", "-cell", "lm358",
              "-template", dir.str() + "/demo/templates/site.tpl", "-aspects", "2"});
  EXPECT_EQ(reference.status, 1) << reference.err;
  EXPECT_EQ(reference.out,
            "3 differences from template " + dir.str() + "/demo/templates/site.tpl\n");
}

TEST_F(TemplateVerbTest, BadInputIsToldAndNeverPassed) {
  dir.write("broken.tpl", "kestra-template 1\n[properties]\nCLASS IC\n");
  const Outcome truncated = Kestra({"verify", "template", "-proj", project, "-lib", "tmplparts",
                                    "-template", dir.str() + "/broken.tpl"});
  EXPECT_EQ(truncated.status, 2);
  EXPECT_NE(truncated.err.find("broken.tpl: truncated"), std::string::npos) << truncated.err;

  const Outcome missingFolder =
      Kestra({"template", "extract", "-proj", project, "-lib", "tmplparts", "-cell", "tpl_clean",
              "-o", dir.str() + "/nowhere/site.tpl"});
  EXPECT_EQ(missingFolder.status, 1);
  EXPECT_NE(missingFolder.err.find("folder " + dir.str() + "/nowhere does not exist"),
            std::string::npos)
      << missingFolder.err;

  const Outcome noCell = Kestra({"template", "extract", "-proj", project, "-lib", "tmplparts",
                                 "-cell", "absent", "-o", dir.str() + "/x.tpl"});
  EXPECT_EQ(noCell.status, 1);
  EXPECT_NE(noCell.err.find("Part absent is not in library tmplparts"), std::string::npos);

  EXPECT_EQ(Kestra({"template", "extract", "-proj", project}).status, 2);
  EXPECT_EQ(
      Kestra({"verify", "template", "-proj", project, "-lib", "refparts", "-template", "x.tpl"})
          .status,
      2)
      << "a reference library needs -ref";
}

#include "ProjectFixture.h"

#include <cstdlib>
#include <filesystem>

#include "projectfile/SpiProcessState.h"

void ProjectFixture::SetUp() {
  if (const char* tmp = std::getenv("TMPDIR")) {
    hadTmpDir_ = true;
    savedTmpDir_ = tmp;
  }
  setenv("QSF_SEARCH_PATH", (dir.str() + "/share").c_str(), 1);
  setenv("TMPDIR", (dir.str() + "/tmp").c_str(), 1);
  std::filesystem::create_directories(dir.path() / "tmp");
  SpiResetProcessState();
}

void ProjectFixture::TearDown() {
  // The folder goes with the fixture; later temporary folders must not be made in it.
  if (hadTmpDir_)
    setenv("TMPDIR", savedTmpDir_.c_str(), 1);
  else
    unsetenv("TMPDIR");
}

std::string ProjectFixture::Setup(const std::string& name, const std::string& text) {
  return dir.write("share/qvdsetup/projmgr/" + name, text).string();
}

std::string ProjectFixture::Project(const std::string& text, const std::string& name) {
  return dir.write("proj/" + name, text).string();
}

std::string ProjectFixture::Value(const std::string& project, const std::string& program,
                                  const std::string& directive) {
  CSpiProject spi;
  if (spi.Open(project) != 0) return "<open failed>";
  if (spi.FindProgram(program) != 0) return "<no program>";
  std::string value;
  const int result = spi.GetValue(directive, value);
  return result == 0 ? value : "<result " + std::to_string(result) + ">";
}

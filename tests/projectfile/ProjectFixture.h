// A throw-away install tree, temporary folder and project folder for CSpiProject tests.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "TempDir.h"
#include "projectfile/CSpiProject.h"

class ProjectFixture : public testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Write the install, site or user file of the install tree; return its path.
  std::string Install(const std::string& text) { return Setup("qvd.tak", text); }
  std::string Site(const std::string& text) { return Setup("site.tak", text); }
  std::string User(const std::string& text) { return Setup("user.tak", text); }
  // Writes a project file below proj/ and returns its path.
  std::string Project(const std::string& text, const std::string& name = "p.tak");
  std::string TempLog() const { return ReadFile(dir.path() / "tmp" / "tak.log"); }
  // The first value of PROGRAM:DIRECTIVE after opening project, or "<result N>".
  std::string Value(const std::string& project, const std::string& program,
                    const std::string& directive);

  TempDir dir;

 private:
  std::string savedTmpDir_;
  bool hadTmpDir_ = false;
  std::string Setup(const std::string& name, const std::string& text);
};

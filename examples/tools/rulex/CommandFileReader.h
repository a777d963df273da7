// Reading rx.dat, the command file the module writes for a batch run.
#pragma once

#include <string>
#include <vector>

struct RuleFileUse {
  std::string path;                // the "-r" file
  std::vector<std::string> rules;  // the rule names after it
};

struct CommandFileContent {
  std::string target;  // between the first and the last double quote of line 1
  std::vector<RuleFileUse> ruleFiles;
  std::vector<std::string> includeFolders;  // "-I" lines
  std::string error;                        // why the file cannot be used ("" if fine)
};

CommandFileContent ReadCommandFile(const std::string& path);

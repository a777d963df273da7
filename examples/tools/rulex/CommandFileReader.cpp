#include "CommandFileReader.h"

#include <fstream>
#include <sstream>

namespace {

// "-r FILE.rle rule rule ...": the file runs to the first ".rle" that ends a word, so an
// install root with blanks in it stays whole.
RuleFileUse ReadRuleLine(const std::string& rest) {
  RuleFileUse use;
  std::size_t end = 0;
  while ((end = rest.find(".rle", end)) != std::string::npos) {
    end += 4;
    if (end == rest.size() || rest[end] == ' ' || rest[end] == '\r') break;
  }
  if (end == std::string::npos) end = rest.size();
  use.path = rest.substr(0, end);
  std::istringstream words(rest.substr(end));
  for (std::string word; words >> word;) use.rules.push_back(word);
  return use;
}

}  // namespace

CommandFileContent ReadCommandFile(const std::string& path) {
  CommandFileContent content;
  std::ifstream in(path, std::ios::binary);
  std::string line;
  if (!in || !std::getline(in, line)) {
    content.error = "cannot read command file " + path;
    return content;
  }
  const std::size_t open = line.find('"');
  const std::size_t close = line.rfind('"');
  if (open == std::string::npos || close == open) {
    content.error = path + ":1: expected the library in double quotes";
    return content;
  }
  content.target = line.substr(open + 1, close - open - 1);
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.rfind("-r ", 0) == 0) content.ruleFiles.push_back(ReadRuleLine(line.substr(3)));
    if (line.rfind("-I ", 0) == 0) content.includeFolders.push_back(line.substr(3));
  }
  return content;
}

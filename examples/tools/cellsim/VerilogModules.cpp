#include "VerilogModules.h"

#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

namespace {

// The file's tokens: identifiers (with their escaped and numeric forms) and single
// punctuation characters; comments and blanks are dropped.
std::vector<std::string> Tokens(const std::string& text) {
  std::vector<std::string> tokens;
  std::size_t i = 0;
  const auto word = [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' || c == '\'';
  };
  while (i < text.size()) {
    const char c = text[i];
    if (text.compare(i, 2, "//") == 0) {
      i = text.find('\n', i);
      if (i == std::string::npos) break;
    } else if (text.compare(i, 2, "/*") == 0) {
      i = text.find("*/", i + 2);
      if (i == std::string::npos) break;
      i += 2;
    } else if (std::isspace(static_cast<unsigned char>(c))) {
      ++i;
    } else if (word(c)) {
      std::size_t end = i;
      while (end < text.size() && word(text[end])) ++end;
      tokens.push_back(text.substr(i, end - i));
      i = end;
    } else {
      tokens.emplace_back(1, c);
      ++i;
    }
  }
  return tokens;
}

// Statements of a module body that are not instances.
const std::set<std::string>& Keywords() {
  static const std::set<std::string> words{
      "input",       "output",      "inout",    "wire",       "reg",       "tri",        "supply0",
      "supply1",     "assign",      "always",   "initial",    "parameter", "localparam", "integer",
      "real",        "time",        "specify",  "endspecify", "table",     "endtable",   "function",
      "endfunction", "task",        "endtask",  "begin",      "end",       "defparam",   "genvar",
      "generate",    "endgenerate", "buf",      "not",        "and",       "nand",       "or",
      "nor",         "xor",         "xnor",     "bufif0",     "bufif1",    "notif0",     "notif1",
      "pullup",      "pulldown",    "timescale"};
  return words;
}

}  // namespace

VerilogFile ReadVerilogFile(const std::string& path) {
  VerilogFile file;
  std::ifstream in(path);
  if (!in) return file;
  file.read = true;
  std::ostringstream text;
  text << in.rdbuf();
  const std::vector<std::string> tokens = Tokens(text.str());

  for (std::size_t i = 0; i < tokens.size(); ++i) {
    const bool primitive = tokens[i] == "primitive";
    if (tokens[i] != "module" && !primitive) continue;
    if (i + 1 >= tokens.size()) break;
    VerilogModule module;
    module.name = tokens[++i];
    module.primitive = primitive;
    std::size_t j = i + 1;
    // The header's port list: the names between "(" and ")", without directions.
    if (j < tokens.size() && tokens[j] == "(") {
      for (++j; j < tokens.size() && tokens[j] != ")"; ++j) {
        const std::string& t = tokens[j];
        if (t == "," || Keywords().count(t)) continue;
        module.ports.push_back(t);
      }
    }
    const std::string endWord = primitive ? "endprimitive" : "endmodule";
    // The body: statements up to the end word; one that starts with a name that is not a
    // keyword and goes on with a name or "#" instantiates that module.
    bool statementStart = true;
    for (++j; j < tokens.size() && tokens[j] != endWord; ++j) {
      const std::string& t = tokens[j];
      if (t == ";") {
        statementStart = true;
        continue;
      }
      if (statementStart && !primitive && j + 1 < tokens.size() && !Keywords().count(t) &&
          (std::isalpha(static_cast<unsigned char>(t[0])) || t[0] == '_') &&
          (tokens[j + 1] == "#" || std::isalpha(static_cast<unsigned char>(tokens[j + 1][0])) ||
           tokens[j + 1][0] == '_')) {
        module.instances.push_back(t);
      }
      statementStart = t == "begin" || t == "end";
    }
    i = j;
    file.modules.push_back(std::move(module));
  }
  return file;
}

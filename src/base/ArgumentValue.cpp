#include "base/ArgumentValue.h"

std::string ArgumentValueProblem(const std::string& value, bool quoted) {
  for (const char c : value) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"') return "it holds a double quote";
    if (c == '\n' || c == '\r') return "it holds a line break";
    if (byte < 0x20 || byte == 0x7F) return "it holds a control character";
    if (!quoted && (c == ' ' || c == '\t')) return "it holds a blank";
  }
  // Inside quotes, backslashes before the closing quote would escape it.
  if (quoted && !value.empty() && value.back() == '\\') return "it ends in a backslash";
  return "";
}

std::string ToolNameProblem(const std::string& name) {
  if (name.starts_with('-')) return "it begins with '-' and would be read as an option";
  if (name.find('\\') != std::string::npos) return "it holds a backslash";
  return ArgumentValueProblem(name, true);
}

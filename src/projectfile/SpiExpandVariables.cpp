#include "projectfile/SpiExpandVariables.h"

#include <cstdlib>

#include "base/qvdCommon.h"
#include "projectfile/SpiText.h"

namespace {

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
}

// The value of a variable; false when it is not set.
bool LookUp(const std::string& name, std::string& value) {
  if (name == "QVD_INST_DIR") {
    value = qvdGetInstallRoot();
    return true;
  }
  if (name.empty()) return false;
  const char* found = std::getenv(name.c_str());
  if (!found) return false;
  value = found;
  return true;
}

// Appends a value and drops one separator at the end, so that ${HOME}/bin with HOME ending
// in a separator gives a single one.
void AppendValue(std::string& out, const std::string& value) {
  out += value;
  if (!out.empty() && (out.back() == '/' || out.back() == '\\')) out.pop_back();
}

}  // namespace

int SpiExpandVariables(const std::string& input, std::string& expanded, std::string& errorMessage) {
  std::string out;
  std::size_t i = 0;
  const std::size_t n = input.size();
  while (i < n) {
    if (input[i] != '$') {
      out += input[i++];
      continue;
    }
    const char next = i + 1 < n ? input[i + 1] : '\0';
    if (next == '{' || next == '(') {
      const char close = next == '{' ? '}' : ')';
      std::size_t j = i + 2;
      while (j < n && input[j] != close) {
        if (!IsNameChar(input[j])) {
          errorMessage =
              spi::Format("Invalid character %c found in environment variable name", input[j]);
          return 0;
        }
        ++j;
      }
      if (j >= n) {
        errorMessage = close == '}' ? "Closing '}' not found." : "";
        return 0;
      }
      const std::string name = input.substr(i + 2, j - i - 2);
      std::string value;
      if (!LookUp(name, value)) {
        errorMessage = spi::Format(
            close == '}' ? "Environment Variable %s not set" : "Environment Variable %s not set.",
            name.c_str());
        return 0;
      }
      AppendValue(out, value);
      i = j + 1;
    } else if (IsNameChar(next)) {
      std::size_t j = i + 1;
      while (j < n && IsNameChar(input[j])) ++j;
      const std::string name = input.substr(i + 1, j - i - 1);
      std::string value;
      if (!LookUp(name, value)) {
        errorMessage = spi::Format("Environment variable %s not set.", name.c_str());
        return 0;
      }
      AppendValue(out, value);
      // The character that ended the name is copied as it is: a "$" here starts no reference.
      if (j < n) out += input[j++];
      i = j;
    } else {
      errorMessage = i + 1 < n ? spi::Format("Invalid character %c found after '${'", next)
                               : std::string("Invalid character  found after '${'");
      return 0;
    }
  }
  expanded = std::move(out);
  return 1;
}

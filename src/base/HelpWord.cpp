#include "base/HelpWord.h"

bool IsHelpWord(std::string_view word) {
  return word == "-help" || word == "--help" || word == "-h";
}

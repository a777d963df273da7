// tak: looks inside project files and changes them (parse, format, get, explain, set).
#include <iostream>

#include "tak/TakArguments.h"
#include "tak/TakVerbs.h"

namespace {

int BadUsage(const std::string& why) {
  std::cerr << "tak: " << why << "\n" << TakUsage();
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string error;
  const auto arguments = ParseTakArguments(std::vector<std::string>(argv + 1, argv + argc), error);
  if (!arguments) return BadUsage(error);
  if (arguments->help) {
    std::cout << TakUsage();
    return 0;
  }
  const std::string& verb = arguments->verb;
  const std::size_t words = arguments->words.size();
  if (verb == "parse" || verb == "format") {
    if (words != 1 || arguments->project || arguments->waitSeconds)
      return BadUsage(verb + " takes one FILE");
    if (verb == "format" && arguments->level.value_or(2) < 2)
      return BadUsage("format writes level 2 (project) or 3 (user)");
    return verb == "parse" ? TakParse(*arguments, std::cout, std::cerr)
                           : TakFormat(*arguments, std::cout, std::cerr);
  }
  if (verb == "get" || verb == "explain" || verb == "set") {
    const bool countOk = verb == "set" ? words >= 2 : words == 2;
    if (!countOk || !arguments->project || arguments->level ||
        (arguments->waitSeconds && verb != "set"))
      return BadUsage(verb + " takes PROGRAM DIRECTIVE" +
                      (verb == "set" ? " VALUE... -proj FILE [-wait SECONDS]" : " -proj FILE"));
    if (verb == "get") return TakGet(*arguments, std::cout, std::cerr);
    if (verb == "explain") return TakExplain(*arguments, std::cout, std::cerr);
    return TakSet(*arguments, std::cout, std::cerr);
  }
  return BadUsage(verb.empty() ? "no verb given" : "unknown verb \"" + verb + "\"");
}

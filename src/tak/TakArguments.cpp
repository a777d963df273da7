#include "tak/TakArguments.h"

#include <charconv>

#include "base/HelpWord.h"

const char* TakUsage() {
  return "usage: tak parse FILE [-level N]\n"
         "       tak format FILE [-level N]\n"
         "       tak get PROGRAM DIRECTIVE -proj FILE\n"
         "       tak explain PROGRAM DIRECTIVE -proj FILE\n"
         "       tak set PROGRAM DIRECTIVE VALUE... -proj FILE [-wait SECONDS]\n"
         "       tak -help\n"
         "Levels: 0 install, 1 site, 2 project (default), 3 user.\n"
         "set reads, changes and saves the file under one exclusive lock, waiting up to\n"
         "SECONDS (default 10) while other tools read or save it.\n"
         "Exit status: 0 success, 1 failure or not set, 2 bad usage.\n";
}

std::optional<TakArguments> ParseTakArguments(const std::vector<std::string>& argv,
                                              std::string& error) {
  TakArguments parsed;
  for (std::size_t i = 0; i < argv.size(); ++i) {
    const std::string& word = argv[i];
    if (IsHelpWord(word)) {
      parsed.help = true;
    } else if (word == "-level" || word == "-proj" || word == "-wait") {
      if (i + 1 >= argv.size()) {
        error = word + " needs a value";
        return std::nullopt;
      }
      const std::string& value = argv[++i];
      if (word == "-proj") {
        parsed.project = value;
        continue;
      }
      int number = -1;
      const auto [end, failed] = std::from_chars(value.data(), value.data() + value.size(), number);
      const bool isNumber = failed == std::errc() && end == value.data() + value.size();
      if (word == "-wait") {
        if (!isNumber || number < 0 || number > 3600) {
          error = "-wait takes a number of seconds from 0 to 3600, not \"" + value + "\"";
          return std::nullopt;
        }
        parsed.waitSeconds = number;
        continue;
      }
      const int level = number;
      if (!isNumber || level < 0 || level > 3) {
        error = "-level takes 0, 1, 2 or 3, not \"" + value + "\"";
        return std::nullopt;
      }
      parsed.level = level;
    } else if (parsed.verb.empty()) {
      parsed.verb = word;
    } else {
      parsed.words.push_back(word);
    }
  }
  return parsed;
}

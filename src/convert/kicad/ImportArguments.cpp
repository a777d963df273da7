#include "convert/kicad/ImportArguments.h"

#include <charconv>

#include "base/HelpWord.h"

namespace {

bool IsOption(const std::string& word) { return word.size() > 1 && word.front() == '-'; }

}  // namespace

std::optional<ImportArguments> ParseImportArguments(const std::vector<std::string>& words,
                                                    std::string& error) {
  ImportArguments a;
  bool sourcesGiven = false;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& option = words[i];
    auto value = [&]() -> const std::string* {
      if (i + 1 >= words.size()) {
        error = option + " needs a value";
        return nullptr;
      }
      return &words[++i];
    };
    if (IsHelpWord(option)) {
      a.help = true;
    } else if (option == "-replace") {
      a.replace = true;
    } else if (option == "-symbols" || option == "-footprints") {
      auto& list = option == "-symbols" ? a.symbolSources : a.footprintSources;
      const std::size_t before = list.size();
      while (i + 1 < words.size() && !IsOption(words[i + 1])) list.push_back(words[++i]);
      if (list.size() == before) {
        error = option + " needs at least one folder or file";
        return std::nullopt;
      }
      sourcesGiven = true;
    } else if (option == "-proj" || option == "-lib-prefix" || option == "-j") {
      const std::string* v = value();
      if (v == nullptr) return std::nullopt;
      if (option == "-proj") a.projectFile = *v;
      if (option == "-lib-prefix") a.libraryPrefix = *v;
      if (option == "-j") {
        const auto [end, code] = std::from_chars(v->data(), v->data() + v->size(), a.workers);
        if (code != std::errc() || end != v->data() + v->size() || a.workers < 1 ||
            a.workers > 64) {
          error = "-j needs a whole number from 1 to 64, not \"" + *v + "\"";
          return std::nullopt;
        }
      }
    } else {
      error = "unknown word \"" + option + "\"";
      return std::nullopt;
    }
  }
  if (a.help) return a;
  if (a.projectFile.empty()) {
    error = "-proj FILE.tak is needed";
    return std::nullopt;
  }
  if (!sourcesGiven) {
    a.symbolSources = {"/usr/share/kicad/symbols"};
    a.footprintSources = {"/usr/share/kicad/footprints"};
  }
  return a;
}

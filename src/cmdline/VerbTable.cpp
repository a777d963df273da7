#include "cmdline/VerbTable.h"

#include <algorithm>
#include <array>

#include "cmdline/HeadlessVerbs.h"

namespace {

constexpr std::array kVerbs = {
    VerbEntry{"libs", "the project's libraries and cells as the browser sees them",
              "libs -proj PROJECT.tak"},
    VerbEntry{"footprints", "the footprints of the project's footprint search path",
              "footprints -proj PROJECT.tak [-filter PATTERN]"},
    VerbEntry{"template", "the template a part follows, written to a file",
              "template extract -proj PROJECT.tak -lib LIB -cell CELL -o FILE.tpl [-ref]"},
    VerbEntry{"import", "KiCad symbol and footprint libraries into the project",
              "import kicad -proj PROJECT.tak [-symbols ...] [-footprints ...] [-replace]"},
    VerbEntry{"verify", "one verification flow without dialogs", "verify FLOW ...",
              &RunVerifyInHost},
    VerbEntry{"verify all", "every flow on every part of libraries",
              "verify all -proj PROJECT.tak [-lib LIB ...] [-j N] [-html FILE]"},
    VerbEntry{"report", "results of kestra verify runs as one report page",
              "report merge RESULTS.json ... -html FILE"},
    VerbEntry{"waive", "a waiver added to the waiver file",
              "waive -rule R -lib L -cell C [-object O] -reason TEXT (-waivers FILE|-proj P)"},
};

// The words of a verb's name.
std::vector<std::string_view> NameWords(std::string_view name) {
  std::vector<std::string_view> words;
  while (!name.empty()) {
    const std::size_t space = name.find(' ');
    words.push_back(name.substr(0, space));
    name = space == std::string_view::npos ? std::string_view() : name.substr(space + 1);
  }
  return words;
}

}  // namespace

std::span<const VerbEntry> VerbTable() { return kVerbs; }

VerbRunner FindRunner(std::span<const NamedRunner> runners, std::string_view name) {
  for (const NamedRunner& runner : runners)
    if (runner.name == name) return runner.run;
  return nullptr;
}

std::size_t VerbWordCount(const VerbEntry& verb) { return NameWords(verb.name).size(); }

const VerbEntry* FindVerb(const std::vector<std::string>& words) {
  const VerbEntry* found = nullptr;
  for (const VerbEntry& verb : kVerbs) {
    const std::vector<std::string_view> name = NameWords(verb.name);
    if (name.size() > words.size() || !std::equal(name.begin(), name.end(), words.begin()))
      continue;
    if (found == nullptr || name.size() > VerbWordCount(*found)) found = &verb;
  }
  return found;
}

std::vector<std::string> VerbFirstWords() {
  std::vector<std::string> first;
  for (const VerbEntry& verb : kVerbs) {
    const std::string word(NameWords(verb.name).front());
    if (std::find(first.begin(), first.end(), word) == first.end()) first.push_back(word);
  }
  return first;
}

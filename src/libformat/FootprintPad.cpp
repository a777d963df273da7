#include "libformat/FootprintPad.h"

#include <fstream>

#include "libformat/LineWords.h"

namespace {

// A bound on the pads a "pads" statement alone stands for, so a wild count costs nothing.
constexpr int kMostImpliedPads = 100000;

}  // namespace

bool IsPadKeyword(const std::string& keyword) { return keyword == "pad" || keyword == "padpart"; }

bool ParsePadStatement(const std::vector<std::string>& words, FootprintPad& pad) {
  if ((words.size() != 4 && words.size() != 7) || !IsPadKeyword(words[0]) || words[1].empty())
    return false;
  double width = 0, height = 0;
  if (!ParseNumber(words[2], pad.x) || !ParseNumber(words[3], pad.y)) return false;
  if (words.size() == 7 &&
      (!ParseNumber(words[5], width) || !ParseNumber(words[6], height) || width < 0 || height < 0))
    return false;
  pad.piece = words[0] == "padpart";
  pad.number = words[1] == "-" ? "" : words[1];
  return !(pad.piece && pad.number.empty());
}

std::optional<FootprintPadNumbers> ReadFootprintPadNumbers(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  FootprintPadNumbers pads;
  std::set<std::string>& numbers = pads.numbers;
  bool& padStatements = pads.listed;
  int count = 0;
  for (std::string line; std::getline(in, line);) {
    const LineWords words = SplitLineWords(line);
    if (words.words.empty()) continue;
    FootprintPad pad;
    if (words.words.size() == 2 && words.words[0] == "pads") ParseInt(words.words[1], count);
    if (!IsPadKeyword(words.words[0])) continue;
    padStatements = true;
    if (ParsePadStatement(words.words, pad) && !pad.number.empty()) numbers.insert(pad.number);
  }
  // Pad statements are optional: without them the pads are numbered 1 to pads.
  for (int number = 1; !padStatements && number <= count && number <= kMostImpliedPads; ++number)
    numbers.insert(std::to_string(number));
  return pads;
}

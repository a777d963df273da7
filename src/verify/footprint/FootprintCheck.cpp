#include "verify/footprint/FootprintCheck.h"

#include <charconv>
#include <fstream>
#include <set>
#include <sstream>

#include "libformat/FootprintPad.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
  std::vector<std::string> words;
  std::istringstream in(line.substr(0, line.find('#')));
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

bool ParseCount(const std::string& text, long& value) {
  const char* end = text.data() + text.size();
  auto [p, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && p == end;
}

bool ParseNumber(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  auto [p, error] = std::from_chars(text.data(), end, value);
  return error == std::errc() && p == end;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto up = [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; };
    if (up(a[i]) != up(b[i])) return false;
  }
  return true;
}

}  // namespace

FootprintCheck CheckFootprintFile(const std::string& path, const std::string& expectedName) {
  FootprintCheck check;
  std::ifstream in(path, std::ios::binary);
  if (!in) return check;
  check.read = true;
  auto finding = [&](int line, const std::string& text) {
    if (check.findings.size() >= kMaxFootprintFindings) {
      check.truncated = true;
      return;
    }
    check.findings.push_back(line > 0 ? "line " + std::to_string(line) + ": " + text : text);
  };

  bool haveName = false, saidOrder = false, havePads = false, havePitch = false;
  long pads = 0;
  bool padsKnown = false;                              // a valid pads statement was read
  std::vector<std::pair<FootprintPad, int>> padLines;  // each pad statement and its line
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const std::vector<std::string> words = Words(line);
    if (words.empty()) continue;
    const std::string& keyword = words[0];
    if (!haveName && !saidOrder && keyword != "footprint") {
      finding(number, "\"" + keyword + "\" before the footprint statement");
      saidOrder = true;  // said once; the statement itself is still checked
    }
    if (keyword == "footprint") {
      if (haveName) {
        finding(number, "a second footprint statement");
      } else if (words.size() != 2) {
        finding(number, "footprint needs one name");
      } else if (!SameIgnoringCase(words[1], expectedName)) {
        finding(number, "footprint " + words[1] + " in the file of " + expectedName);
      }
      haveName = true;
    } else if (keyword == "pads") {
      // 0 is a footprint without numbered pads: a logo, a mounting hole, a fiducial.
      if (words.size() != 2 || !ParseCount(words[1], pads) || pads < 0) {
        finding(number, "pads needs a whole number of at least 0");
        pads = 0;
      } else {
        padsKnown = true;
      }
      havePads = true;
    } else if (keyword == "pitch") {
      double pitch = 0;
      if (words.size() != 2 || !ParseNumber(words[1], pitch) || pitch <= 0)
        finding(number, "pitch needs a number above 0");
      havePitch = true;
    } else if (IsPadKeyword(keyword)) {
      FootprintPad pad;
      if (!ParsePadStatement(words, pad)) {
        finding(number, keyword + " needs a pad number and two coordinates");
      } else {
        padLines.emplace_back(pad, number);
      }
    } else {
      finding(number, "unknown statement \"" + keyword + "\"");
    }
  }
  if (!haveName) finding(0, "no footprint statement");
  if (!havePads) finding(0, "no pads statement");
  if (!havePitch) finding(0, "no pitch statement");
  std::set<std::string> seen;
  for (const auto& [pad, number] : padLines) {
    if (pad.number.empty()) continue;
    long whole = 0;
    // A whole number counts from 1 to pads; a pad name (A1, EP) is not counted.
    if (padsKnown && ParseCount(pad.number, whole) && (whole < 1 || whole > pads))
      finding(number, "pad " + pad.number + " outside 1.." + std::to_string(pads));
    if (pad.piece && !seen.count(pad.number))
      finding(number, "padpart " + pad.number + " before any pad " + pad.number);
    if (!pad.piece && !seen.insert(pad.number).second)
      finding(number, "pad " + pad.number + " again");
  }
  return check;
}

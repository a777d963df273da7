#include "verify/Waivers.h"

#include <algorithm>
#include <cctype>
#include <ctime>
#include <map>

namespace {

constexpr const char* kKeys[] = {"rule", "lib", "part", "object", "author", "date", "expires"};

std::string* FieldOf(Waiver& waiver, std::string_view key) {
  if (key == "rule") return &waiver.rule;
  if (key == "lib") return &waiver.library;
  if (key == "part") return &waiver.part;
  if (key == "object") return &waiver.object;
  if (key == "author") return &waiver.author;
  if (key == "date") return &waiver.date;
  if (key == "expires") return &waiver.expires;
  return nullptr;
}

std::string Trimmed(std::string_view text) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return std::string(text);
}

// One line's waiver, or "" with the reason in why.
std::optional<Waiver> ParseLine(std::string_view line, std::string& why) {
  Waiver waiver;
  bool hasReason = false;
  std::size_t at = 0;
  while (at < line.size()) {
    while (at < line.size() && std::isspace(static_cast<unsigned char>(line[at]))) ++at;
    if (at >= line.size()) break;
    const std::size_t equals = line.find('=', at);
    const std::size_t space = line.find_first_of(" \t", at);
    if (equals == std::string_view::npos || (space != std::string_view::npos && space < equals)) {
      why = "expected key=value, not \"" + std::string(line.substr(at, space - at)) + "\"";
      return std::nullopt;
    }
    const std::string_view key = line.substr(at, equals - at);
    if (key == "reason") {
      waiver.reason = Trimmed(line.substr(equals + 1));
      hasReason = true;
      break;
    }
    std::string* field = FieldOf(waiver, key);
    if (field == nullptr) {
      why = "unknown key \"" + std::string(key) + "\"";
      return std::nullopt;
    }
    const std::size_t end = std::min(line.find_first_of(" \t", equals), line.size());
    *field = std::string(line.substr(equals + 1, end - equals - 1));
    at = end;
  }
  if (waiver.rule.empty() || waiver.library.empty() || waiver.part.empty() ||
      waiver.author.empty() || waiver.date.empty() || !hasReason || waiver.reason.empty()) {
    why = "a waiver needs rule=, lib=, part=, author=, date= and reason= (the last, not empty)";
    return std::nullopt;
  }
  for (const std::string* date : {&waiver.date, &waiver.expires}) {
    if (!date->empty() && !IsWaiverDate(*date)) {
      why = "\"" + *date + "\" is not a date written YYYY-MM-DD";
      return std::nullopt;
    }
  }
  return waiver;
}

bool Matches(const Waiver& waiver, const VerifyResult& result, const Finding& finding) {
  const std::string& part = finding.part.empty() ? result.cell : finding.part;
  return WaiverPatternMatch(waiver.rule, finding.rule) &&
         WaiverPatternMatch(waiver.library, result.library) &&
         WaiverPatternMatch(waiver.part, part) &&
         (waiver.object.empty() || WaiverPatternMatch(waiver.object, finding.object));
}

std::string Where(const Waiver& waiver) { return waiver.file + ":" + std::to_string(waiver.line); }

std::string WaivedText(const Waiver& waiver) {
  return waiver.reason + " (" + waiver.author + ", " + waiver.date + "; " + Where(waiver) + ")";
}

// The verdict once waived findings no longer count; sets result.waived when waivers made it
// pass.
void Rejudge(VerifyResult& result) {
  if (result.notRun || result.findingsTruncated || result.verdict == Verdict::Unknown ||
      result.verdict == Verdict::Passed)
    return;
  bool waivedError = false, waivedWarning = false, countedError = false, countedWarning = false;
  for (const Finding& finding : result.findings) {
    const bool error = finding.severity >= Severity::Error;
    const bool warning = finding.severity == Severity::Warning;
    (finding.waived.empty() ? countedError : waivedError) |= error;
    (finding.waived.empty() ? countedWarning : waivedWarning) |= warning;
  }
  const std::string before = result.message;
  if (result.verdict == Verdict::Failed) {
    // Only a failure that the waived findings explain can be waived.
    if (!waivedError || countedError) return;
    result.verdict = countedWarning ? Verdict::PassedWithWarnings : Verdict::Passed;
  } else {
    if (!waivedWarning || countedWarning) return;
    result.verdict = Verdict::Passed;
  }
  result.waived = result.verdict == Verdict::Passed;
  result.message =
      std::string(result.waived ? "passed (waived)" : "passed with warnings (waived)") +
      ": every finding that failed it is waived; the tool said: " + before;
}

}  // namespace

bool WaiverPatternMatch(std::string_view pattern, std::string_view text) {
  // Greedy matching with one back-track point: linear enough for names and rules.
  std::size_t p = 0, t = 0, star = std::string_view::npos, mark = 0;
  while (t < text.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == text[t])) {
      ++p;
      ++t;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = t;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      t = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool IsWaiverDate(std::string_view date) {
  if (date.size() != 10 || date[4] != '-' || date[7] != '-') return false;
  for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9}) {
    if (!std::isdigit(static_cast<unsigned char>(date[i]))) return false;
  }
  const int month = std::stoi(std::string(date.substr(5, 2)));
  const int day = std::stoi(std::string(date.substr(8, 2)));
  return month >= 1 && month <= 12 && day >= 1 && day <= 31;
}

std::string TodayDate() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[16];
  std::strftime(text, sizeof text, "%Y-%m-%d", &local);
  return text;
}

std::optional<std::vector<Waiver>> ParseWaivers(const std::string& text, const std::string& file,
                                                std::string& error) {
  std::vector<Waiver> waivers;
  long number = 0;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    ++number;
    const std::string line = Trimmed(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (line.empty() || line.front() == '#') continue;
    std::string why;
    auto waiver = ParseLine(line, why);
    if (!waiver) {
      error = file + ":" + std::to_string(number) + ": " + why;
      return std::nullopt;
    }
    waiver->file = file;
    waiver->line = number;
    waivers.push_back(std::move(*waiver));
  }
  return waivers;
}

std::string WaiverLine(const Waiver& waiver, std::string& error) {
  Waiver copy = waiver;
  std::string line;
  for (const char* key : kKeys) {
    const std::string& value = *FieldOf(copy, key);
    if (value.empty()) continue;
    if (value.find_first_of(" \t\r\n") != std::string::npos) {
      error = std::string("the ") + key + " \"" + value +
              "\" holds white space and cannot be written in a waiver file";
      return "";
    }
    line += std::string(key) + "=" + value + " ";
  }
  if (waiver.reason.find_first_of("\r\n") != std::string::npos) {
    error = "the reason must be one line";
    return "";
  }
  return line + "reason=" + Trimmed(waiver.reason);
}

WaiverNotes ApplyWaivers(std::vector<VerifyResult>& results, const std::vector<Waiver>& waivers,
                         const std::string& today) {
  WaiverNotes notes;
  std::vector<bool> used(waivers.size(), false);
  for (VerifyResult& result : results) {
    for (Finding& finding : result.findings) {
      for (std::size_t i = 0; i < waivers.size() && finding.waived.empty(); ++i) {
        const Waiver& waiver = waivers[i];
        if (!Matches(waiver, result, finding)) continue;
        used[i] = true;
        if (waiver.expires.empty() || today <= waiver.expires) finding.waived = WaivedText(waiver);
      }
    }
    Rejudge(result);
  }
  for (std::size_t i = 0; i < waivers.size(); ++i) {
    const Waiver& waiver = waivers[i];
    const bool inScope = std::any_of(results.begin(), results.end(), [&](const VerifyResult& r) {
      return !r.notRun && WaiverPatternMatch(waiver.library, r.library) &&
             (r.cell.empty() || WaiverPatternMatch(waiver.part, r.cell));
    });
    if (!waiver.expires.empty() && waiver.expires < today) {
      if (inScope)
        notes.expired.push_back("the waiver at " + Where(waiver) + " (" + waiver.rule + " on " +
                                waiver.library + "/" + waiver.part + ") expired on " +
                                waiver.expires + (used[i] ? " and no longer waives" : ""));
    } else if (inScope && !used[i]) {
      notes.stale.push_back("the waiver at " + Where(waiver) + " (" + waiver.rule + " on " +
                            waiver.library + "/" + waiver.part + ") matched no finding");
    }
  }
  return notes;
}

#include "verify/FlowWords.h"

#include <algorithm>
#include <charconv>

#include "base/HelpWord.h"

namespace {

template <typename List>
bool Contains(const List& list, std::string_view word) {
  return std::find(list.begin(), list.end(), word) != list.end();
}

// "-a and -b are required", "-a, -b and -c are required", "-a is required".
std::string RequiredText(std::initializer_list<std::string_view> required) {
  std::string text;
  std::size_t index = 0;
  for (std::string_view option : required) {
    if (index > 0) text += index + 1 == required.size() ? " and " : ", ";
    text += option;
    ++index;
  }
  return text + (required.size() == 1 ? " is required" : " are required");
}

}  // namespace

std::optional<FlowWords> FlowWords::Parse(const std::vector<std::string>& words,
                                          std::initializer_list<std::string_view> flags,
                                          std::initializer_list<std::string_view> valued,
                                          std::initializer_list<std::string_view> required,
                                          std::string& error) {
  return Parse(words, flags, std::span(valued.begin(), valued.size()), required, error);
}

bool FlowWords::HelpAsked(const std::vector<std::string>& words,
                          std::span<const std::string_view> valued) {
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (IsHelpWord(words[i])) return true;
    if (Contains(valued, words[i])) ++i;
  }
  return false;
}

std::optional<FlowWords> FlowWords::Parse(const std::vector<std::string>& words,
                                          std::initializer_list<std::string_view> flags,
                                          std::span<const std::string_view> valued,
                                          std::initializer_list<std::string_view> required,
                                          std::string& error) {
  FlowWords parsed;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::string& word = words[i];
    if (Contains(flags, word)) {
      parsed.given_.emplace_back(word, std::string());
      continue;
    }
    if (!Contains(valued, word)) {
      error =
          !word.empty() && word.front() == '-' ? "unknown option " + word : word + ": unexpected";
      return std::nullopt;
    }
    if (i + 1 >= words.size()) {
      error = word + " needs a value";
      return std::nullopt;
    }
    parsed.given_.emplace_back(word, words[++i]);
  }
  for (std::string_view option : required) {
    if (parsed.Value(option).empty()) {
      error = RequiredText(required);
      return std::nullopt;
    }
  }
  return parsed;
}

bool FlowWords::Has(std::string_view option) const {
  return std::any_of(given_.begin(), given_.end(),
                     [&](const auto& pair) { return pair.first == option; });
}

std::string FlowWords::Value(std::string_view option) const {
  for (auto it = given_.rbegin(); it != given_.rend(); ++it)
    if (it->first == option) return it->second;
  return {};
}

std::vector<std::string> FlowWords::Values(std::string_view option) const {
  std::vector<std::string> values;
  for (const auto& [name, value] : given_)
    if (name == option) values.push_back(value);
  return values;
}

std::optional<long> ParseWholeNumber(const std::string& option, const std::string& value, long low,
                                     long high, const std::string& what, std::string& error) {
  long number = 0;
  const char* end = value.data() + value.size();
  const auto [stop, code] = std::from_chars(value.data(), end, number);
  if (value.empty() || code != std::errc() || stop != end || number < low || number > high) {
    error = option + " needs a number of " + what + " from " + std::to_string(low) + " to " +
            std::to_string(high) + ", not \"" + value + "\"";
    return std::nullopt;
  }
  return number;
}

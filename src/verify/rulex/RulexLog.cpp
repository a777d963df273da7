#include "verify/rulex/RulexLog.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "base/WCString.h"

namespace {

constexpr const char* kBadLog = "failed. Reason:Log file did not get generated correctly ";

RulexLogResult Problem(std::string reason) {
  RulexLogResult result;
  result.text = std::move(reason);
  return result;
}

// A count is read as atoi reads it: optional blanks and sign, then the leading digits; 0 when
// there are none. "3," is 3. A count too large for the type stays at the largest value
// instead of overflowing.
long ReadCount(const std::string& token) {
  constexpr long kLargest = 999999999;
  std::size_t at = 0;
  while (at < token.size() && (token[at] == ' ' || token[at] == '\t')) ++at;
  bool negative = false;
  if (at < token.size() && (token[at] == '+' || token[at] == '-')) negative = token[at++] == '-';
  long value = 0;
  for (; at < token.size() && token[at] >= '0' && token[at] <= '9'; ++at)
    value = std::min(kLargest, value * 10 + (token[at] - '0'));
  return negative ? -value : value;
}

// size is the whole log's size, tail its last bytes (at most 256).
RulexLogResult ParseSummary(std::size_t size, std::string tail) {
  if (size < kRulexLogMinimumSize) return Problem(kBadLog);
  // The tail is searched as text: it ends at a NUL byte.
  tail = tail.substr(0, tail.find('\0'));
  const std::size_t at = tail.find("TOTAL ");
  if (at == std::string::npos) return Problem(kBadLog);

  // Runs of blanks, tabs and line ends separate one word; word 0 is "TOTAL". A missing
  // count reads as 0, as an empty word does.
  const WCString words(tail.substr(at), " \t\r\n");
  RulexLogResult result;
  for (int i = 0; i < RulexCounts::kCount; ++i) {
    result.counts.token[i] = words.getToken(1 + i);
    result.counts.value[i] = ReadCount(result.counts.token[i]);
  }
  result.problem = false;
  result.text = VerdictText(result.counts);
  result.verdict = VerdictOf(result.counts);
  return result;
}

}  // namespace

RulexLogResult ParseRulexLogText(const std::string& content) {
  const std::size_t tailSize = std::min(content.size(), kRulexLogTailSize);
  return ParseSummary(content.size(), content.substr(content.size() - tailSize));
}

RulexLogResult ParseRulexLog(const std::string& logPath) {
  // Only a regular file is read: a FIFO or a device planted as the log would hang the read
  // or never end it.
  std::error_code error;
  if (!std::filesystem::is_regular_file(logPath, error))
    return Problem("failed. Reason:Unable to open log file");
  std::ifstream in(logPath, std::ios::binary);
  return ParseRulexLog(in);
}

RulexLogResult ParseRulexLog(std::istream& in) {
  // Only the end of the log matters; a long log is not read whole.
  if (!in || !in.seekg(0, std::ios::end)) return Problem("failed. Reason:Unable to open log file");
  const std::streamoff size = in.tellg();
  if (size < 0) return Problem("failed. Reason:Unable to open log file");
  const auto tailSize = std::min<std::streamoff>(size, kRulexLogTailSize);
  std::string tail(static_cast<std::size_t>(tailSize), '\0');
  in.seekg(size - tailSize);
  in.read(tail.data(), tailSize);
  if (!in) return Problem("failed. Reason:Unable to open log file");
  return ParseSummary(static_cast<std::size_t>(size), std::move(tail));
}

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

// A count is a run of decimal digits of sensible length; anything else makes the log suspect.
bool ReadCount(const std::string& token, long& value) {
  if (token.empty() || token.size() > 9) return false;
  value = 0;
  for (char c : token) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  return true;
}

// size is the whole log's size, tail its last bytes (at most 256).
RulexLogResult ParseSummary(std::size_t size, std::string tail) {
  if (size < kRulexLogMinimumSize) return Problem(kBadLog);
  // The tail is searched as text: it ends at a NUL byte.
  tail = tail.substr(0, tail.find('\0'));
  const std::size_t at = tail.find("TOTAL ");
  if (at == std::string::npos) return Problem(kBadLog);

  // Runs of blanks, tabs and line ends separate one word; word 0 is "TOTAL".
  const WCString words(tail.substr(at), " \t\r\n");
  if (words.tokenCount() < 1 + RulexCounts::kCount) return Problem(kBadLog);
  RulexLogResult result;
  for (int i = 0; i < RulexCounts::kCount; ++i) {
    result.counts.token[i] = words.getToken(1 + i);
    if (!ReadCount(result.counts.token[i], result.counts.value[i])) return Problem(kBadLog);
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
  // Only the end of the log matters; a long log is not read whole.
  std::ifstream in(logPath, std::ios::binary | std::ios::ate);
  if (!in) return Problem("failed. Reason:Unable to open log file");
  const std::streamoff size = in.tellg();
  if (size < 0) return Problem("failed. Reason:Unable to open log file");
  const auto tailSize = std::min<std::streamoff>(size, kRulexLogTailSize);
  std::string tail(static_cast<std::size_t>(tailSize), '\0');
  in.seekg(size - tailSize);
  in.read(tail.data(), tailSize);
  if (!in) return Problem("failed. Reason:Unable to open log file");
  return ParseSummary(static_cast<std::size_t>(size), std::move(tail));
}

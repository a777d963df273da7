// Fuzzes the reader of the results files that `kestra report merge` and `kestra verify all`
// take from `kestra verify FLOW -json`: any text must read or be refused with a reason, never
// crash or throw; each result read must write as a record that reads back as one result.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "verify/all/jobs/ResultFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string error;
  const auto results =
      ParseResultsJson(std::string(reinterpret_cast<const char*>(data), size), error);
  if (!results) {
    if (error.empty()) std::abort();
    return 0;
  }
  for (const VerifyResult& result : *results) {
    const auto again = ParseResultsJson(ResultRecordJson(result), error);
    if (!again || again->size() != 1) std::abort();
  }
  return 0;
}

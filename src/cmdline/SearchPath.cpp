#include "cmdline/SearchPath.h"

#include <cstdlib>

SearchPathResult PrefixJavaRuntime(const std::string& installRoot) {
  const char* old = std::getenv("PATH");
  if (!old || !*old) return SearchPathResult::kUnreadable;
  const std::string value = installRoot + "/tools/jre/bin:" + old;
  if (::setenv("PATH", value.c_str(), 1) != 0) return SearchPathResult::kUnsettable;
  return SearchPathResult::kPrefixed;
}

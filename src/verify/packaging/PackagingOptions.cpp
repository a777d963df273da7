#include "verify/packaging/PackagingOptions.h"

#include <cstdlib>
#include <cstring>

ValidationType ValidationTypeOf(const char* value) {
  if (value == nullptr || std::strlen(value) >= 10) return ValidationType::Packager;
  return std::strcmp(value, "1") == 0 ? ValidationType::ConsistencyCheck : ValidationType::Packager;
}

ValidationType ValidationTypeFromEnvironment() {
  return ValidationTypeOf(std::getenv(kValidationTypeVariable));
}

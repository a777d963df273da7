#include "verify/template/TemplateTexts.h"

#include <algorithm>
#include <cstdio>

#include "framework/Prompter.h"

FileRequest TemplateFileRequest(const std::string& title, const std::string& folder) {
  FileRequest request;
  request.title = title;
  request.directory = folder;
  request.fileName = kTemplateFileName;
  request.filter = kTemplateFilter;
  request.defaultSuffix = kTemplateExtension;
  return request;
}

std::string StandardizedQuestion(int differences) {
  static constexpr const char* kBefore =
      "The values extracted into template are not \"standardized\".\nVerification of this "
      "part with the extracted template reported";
  static constexpr const char* kAfter =
      "differences.\nDo you want to view the verification report?";
  // The two pieces and any count fit well within the buffer.
  char text[320];
  const int size = std::snprintf(text, sizeof text, "%s %d %s\n", kBefore, differences, kAfter);
  return std::string(text, static_cast<std::size_t>(std::max(size, 0)));
}

#include "verify/template/TemplateDialogTexts.h"

#include <cstdio>
#include <vector>

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
  const int size = std::snprintf(nullptr, 0, "%s %d %s\n", kBefore, differences, kAfter);
  std::vector<char> text(static_cast<std::size_t>(size) + 1);
  std::snprintf(text.data(), text.size(), "%s %d %s\n", kBefore, differences, kAfter);
  return std::string(text.data(), static_cast<std::size_t>(size));
}

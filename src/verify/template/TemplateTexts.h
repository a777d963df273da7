// The template flow's texts and chooser settings, shared by its two dialogs, its run and the
// headless verb.
#pragma once

#include <string>

struct FileRequest;

constexpr const char* kTemplateFilter = "Template Files (*.tpl)";
constexpr const char* kTemplateExtension = "tpl";
constexpr const char* kTemplateFileName = "template";
constexpr const char* kProjectLibraryList = "qvd.lib";
constexpr const char* kReferenceLibraryList = "refqvd.lib";
constexpr const char* kNoTemplateDifferences =
    "No differences found in Part from the selected template";

// The chooser of a template file: title, initial name "template", the template filter and
// extension, starting in folder.
FileRequest TemplateFileRequest(const std::string& title, const std::string& folder);

// The question asked when a part differs from the template just extracted from it.
std::string StandardizedQuestion(int differences);

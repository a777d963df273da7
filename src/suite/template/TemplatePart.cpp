#include "suite/template/TemplatePart.h"

#include <filesystem>
#include <system_error>

#include "libformat/LibraryTree.h"
#include "model/BException.h"
#include "projectfile/SpiExpandVariables.h"

namespace fs = std::filesystem;

std::string TemplatePart::LibraryDirectory(const std::string& libraryList,
                                           const std::string& library) {
  std::error_code error;
  if (!fs::is_regular_file(libraryList, error))
    throw BException("Library list file " + libraryList + " does not exist or is not a file",
                     libraryList);
  LibraryTree tree(libraryList, SpiExpandVariables);
  const LibraryEntry* entry = tree.FindLibrary(library);
  if (!entry)
    throw BException("Library " + library + " is not listed in " + libraryList, libraryList);
  if (!entry->directoryExists)
    throw BException(
        "The directory " + entry->directory + " of library " + library + " does not exist",
        entry->listFile);
  return entry->directory;
}

std::unique_ptr<TemplatePart> TemplatePart::Load(const std::string& libraryList,
                                                 const std::string& library,
                                                 const std::string& cell, BMesgList* notes) {
  if (cell.empty()) throw BException("No part (cell) of library " + library + " given");
  const fs::path directory = fs::path(LibraryDirectory(libraryList, library)) / cell;
  std::error_code error;
  if (!fs::is_directory(directory, error))
    throw BException("Part " + cell + " is not in library " + library + " (no folder " +
                         directory.string() + ")",
                     directory.string());
  return std::make_unique<TemplatePart>(library, directory.string(), notes);
}

TemplatePart::TemplatePart(const std::string& library, const std::string& cellDirectory,
                           BMesgList* notes) {
  BMesgList problems;
  ReadPartModel(library, cellDirectory, chips_, part_, &problems, &views_);
  label_ = library + "/" + part_.getPartName();
  if (notes)
    for (const BMesgText& problem : problems.getMessages()) notes->add(problem.getText(), false);
}

TemplatePart::~TemplatePart() = default;

// A part as the template engine sees it: read once from a library list file, a library and
// a cell, with what each check aspect needs. Standard C++.
#pragma once

#include <memory>
#include <string>

#include "model/BMesgList.h"

class TemplatePart {
 public:
  // Throws BException when the list, the library, the cell or its package view cannot be
  // read. Problems inside the part's files go to notes (when given) as non-error messages.
  static std::unique_ptr<TemplatePart> Load(const std::string& libraryList,
                                            const std::string& library, const std::string& cell,
                                            BMesgList* notes);
  virtual ~TemplatePart();
};

// A part as the template engine sees it: read once from a library list file, a library and
// a cell, with its chips data and symbols (the part model) and the views they came from
// (symbol origins and extents, the package's symbol name). Standard C++.
#pragma once

#include <memory>
#include <string>

#include "model/BMesgList.h"
#include "model/EChipsData.h"
#include "model/EPart.h"
#include "outside/SuiteExport.h"
#include "suite/partmodel/PartModelReader.h"

class KESTRA_SUITE_API TemplatePart {
 public:
  // Finds library in the list file and reads its cell. Throws BException when the list, the
  // library, the cell or its package view cannot be read. Problems inside the part's files
  // go to notes (when given) as non-error messages.
  static std::unique_ptr<TemplatePart> Load(const std::string& libraryList,
                                            const std::string& library, const std::string& cell,
                                            BMesgList* notes);
  // The directory of library in the list file; throws BException when there is none.
  static std::string LibraryDirectory(const std::string& libraryList, const std::string& library);
  // Reads the cell folder cellDirectory of library (named in messages).
  TemplatePart(const std::string& library, const std::string& cellDirectory, BMesgList* notes);
  TemplatePart(const TemplatePart&) = delete;
  TemplatePart& operator=(const TemplatePart&) = delete;
  virtual ~TemplatePart();

  // "library/cell", how messages name the part.
  const std::string& label() const { return label_; }
  const EChipsData& chips() const { return chips_; }
  const EPart& part() const { return part_; }
  const PartSourceViews& views() const { return views_; }

 private:
  EChipsData chips_;
  EPart part_{&chips_};
  PartSourceViews views_;
  std::string label_;
};

// The chips database (Dobra) over the part model: one database object per logical part,
// physical part, pin and property of an EChipsData, named as the model names them, so that
// a chips view (RChipsView) can be pointed at them and asked for names through the dobra*
// functions. The database owns its objects and must outlive the views pointed at them.
// Standard C++; one thread at a time.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/EChipsData.h"
#include "outside/Dobra.h"
#include "outside/SuiteExport.h"

class KESTRA_SUITE_API DobraDatabase {
 public:
  // Makes the objects of chips (read once: later changes to chips are not seen) and
  // installs the dobra* functions as the chips views' name functions.
  explicit DobraDatabase(const EChipsData& chips);
  ~DobraDatabase();
  DobraDatabase(const DobraDatabase&) = delete;
  DobraDatabase& operator=(const DobraDatabase&) = delete;

  // Points view at the physical part physPart (and its logical part), at its pin pin and at
  // its property property; "" leaves that handle empty. False (view unchanged) when a
  // named object does not exist.
  bool select(RChipsView& view, const std::string& physPart, const std::string& pin = {},
              const std::string& property = {}) const;

 private:
  const DobraObject* find(int kind, const DobraObject* owner, const std::string& name) const;

  const DobraObject* add(int kind, const DobraObject* owner, std::string name,
                         std::string value = {});

  std::vector<std::unique_ptr<DobraObject>> objects_;
};

// A view of the chips database (Dobra): handles of the view and of its current logical part,
// physical part, pin and property, and their names through the database's name functions.
// The handles are the database's, never owned. Copying copies the six handles. The part
// model's own chips data (EChipsData) is such a view; without a database its handles stay
// empty and the names are "". One thread at a time.
#pragma once

#include <string>

#include "model/CObject.h"

struct DobraObject;  // an object of the chips database, owned by the database

class RChipsView : public CObject {
 public:
  // How the chips database names its objects. The database installs them once
  // (setNameFunctions); until then every name is "".
  struct NameFunctions {
    std::string (*logPartName)(const DobraObject*) = nullptr;
    std::string (*physPartName)(const DobraObject*) = nullptr;
    std::string (*pinName)(const DobraObject*) = nullptr;
    std::string (*propName)(const DobraObject*) = nullptr;
    std::string (*propValue)(const DobraObject*) = nullptr;
  };
  static void setNameFunctions(const NameFunctions& functions);

  RChipsView() = default;
  RChipsView(const RChipsView& other);
  RChipsView& operator=(const RChipsView& other);
  ~RChipsView() override;

  // Reading the database. The part model is filled by the suite's readers, so these read
  // nothing here and say so (false); a database view overrides them.
  virtual bool readFile(const std::string& path);
  virtual bool readLogicalParts();
  virtual bool readPhysicalParts();
  virtual bool readPins();
  virtual bool readProperties();

  // The names of the current objects ("" when there is none).
  virtual std::string getPinName() const;
  virtual std::string getLogPartName() const;
  virtual std::string getPhysPartName() const;
  virtual std::string getPropName() const;
  // Whether a reader takes the current object; every object by default.
  virtual bool processObjectType() const { return true; }
  std::string getPropValue() const;

  // The handles: the view and the current objects.
  const DobraObject* getView() const { return view_; }
  void setView(const DobraObject* view) { view_ = view; }
  void setCurrentLogPart(const DobraObject* part) { logPart_ = part; }
  void setCurrentPhysPart(const DobraObject* part) { physPart_ = part; }
  void setCurrentPin(const DobraObject* pin) { pin_ = pin; }
  void setCurrentProperty(const DobraObject* property) { property_ = property; }

 private:
  const DobraObject* view_ = nullptr;
  const DobraObject* logPart_ = nullptr;
  const DobraObject* physPart_ = nullptr;
  const DobraObject* pin_ = nullptr;
  const DobraObject* property_ = nullptr;
  const DobraObject* extra_ = nullptr;  // kept for the database's readers
};

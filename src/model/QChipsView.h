// A query over a part's chips data: execute walks the logical parts, their physical parts
// and their pins, and calls a hook for each, so a query overrides only the hooks it needs.
// By default it collects the pins (getPinList, not owned) and the properties (getPropList)
// of the physical parts it visits. A context per domain limits the walk to one name. One
// thread at a time.
#pragma once

#include <map>
#include <string>
#include <utility>

#include "model/EChipsData.h"
#include "model/WCMapStringToOb.h"

class QChipsView {
 public:
  enum Domain { LogicalParts, PhysicalParts, Pins };
  using PropertyMap = std::map<std::string, std::string>;

  QChipsView() = default;
  virtual ~QChipsView();
  QChipsView(const QChipsView&) = delete;
  QChipsView& operator=(const QChipsView&) = delete;

  // Limits the walk of domain to objects named name ("" for all).
  void setContext(Domain domain, std::string name) { contexts_[domain] = std::move(name); }
  // True when context is empty or is name.
  virtual bool hasContext(const std::string& context, const std::string& name) const;
  // True when the context set for domain admits name.
  virtual bool hasContext(Domain domain, const std::string& name) const;
  // Walks chips; returns the number of physical parts visited.
  virtual int execute(const EChipsData& chips);

  virtual void processLogPart(const ELogPart&) {}
  virtual void processProp(const std::string&, const std::string&) {}
  // Each property of a visited physical part: kept in getPropList (a later part's value
  // replaces an earlier one's), then processProp (name, value).
  virtual void processProp(const PropertyMap& properties);
  // A visited physical part: its properties, then its pins when the pin domain is wanted.
  virtual void processPhysPart(const EPhysPart& part);
  // A visited pin: kept in getPinList under its name, then processPinProp for each of its
  // properties.
  virtual void processPin(const EPin& pin);
  virtual void processPinProp(const std::string&, const std::string&) {}
  // Whether the walk goes into domain; every domain by default.
  virtual bool domainEvent(Domain) { return true; }

  // The pins visited (the chips data keeps them; the list only refers to them).
  const WCMapStringToOb& getPinList() const { return pinList_; }
  const PropertyMap& getPropList() const { return propList_; }

 private:
  WCMapStringToOb pinList_{10, false};
  PropertyMap propList_;
  std::map<Domain, std::string> contexts_;
};

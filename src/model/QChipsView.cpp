#include "model/QChipsView.h"

QChipsView::~QChipsView() = default;

bool QChipsView::hasContext(const std::string& context, const std::string& name) const {
  return context.empty() || context == name;
}

bool QChipsView::hasContext(Domain domain, const std::string& name) const {
  auto context = contexts_.find(domain);
  return context == contexts_.end() || hasContext(context->second, name);
}

int QChipsView::execute(const EChipsData& chips) {
  int visited = 0;
  for (const CObject* element : chips.getLogPartList().items()) {
    const auto* logical = static_cast<const ELogPart*>(element);
    if (!hasContext(LogicalParts, logical->getNameStr())) continue;
    processLogPart(*logical);
    if (!domainEvent(PhysicalParts)) continue;
    for (const CObject* inner : logical->getPhysPartList().items()) {
      const auto* physical = static_cast<const EPhysPart*>(inner);
      if (!hasContext(PhysicalParts, physical->getNameStr())) continue;
      processPhysPart(*physical);
      ++visited;
    }
  }
  return visited;
}

void QChipsView::processProp(const PropertyMap& properties) {
  for (const auto& [name, value] : properties) {
    propList_[name] = value;
    processProp(name, value);
  }
}

void QChipsView::processPhysPart(const EPhysPart& part) {
  processProp(part.getPropList());
  if (!domainEvent(Pins)) return;
  for (const auto& [name, element] : part.getPinList().items())
    if (hasContext(Pins, name)) processPin(*static_cast<const EPin*>(element));
}

void QChipsView::processPin(const EPin& pin) {
  // The list never owns or changes its pins (autoDelete is off); it only stores them as
  // the container's element type.
  pinList_.SetAt(pin.getNameStr(), const_cast<EPin*>(&pin));
  for (const auto& [name, value] : pin.getPropList()) processPinProp(name, value);
}

#include "model/RChipsView.h"

namespace {

RChipsView::NameFunctions& Installed() {
  static RChipsView::NameFunctions functions;
  return functions;
}

std::string Call(std::string (*function)(const DobraObject*), const DobraObject* object) {
  return function && object ? function(object) : std::string();
}

}  // namespace

void RChipsView::setNameFunctions(const NameFunctions& functions) { Installed() = functions; }

RChipsView::RChipsView(const RChipsView& other) : CObject() { *this = other; }

RChipsView& RChipsView::operator=(const RChipsView& other) {
  view_ = other.view_;
  logPart_ = other.logPart_;
  physPart_ = other.physPart_;
  pin_ = other.pin_;
  property_ = other.property_;
  extra_ = other.extra_;
  return *this;
}

RChipsView::~RChipsView() = default;

bool RChipsView::readFile(const std::string&) { return false; }
bool RChipsView::readLogicalParts() { return false; }
bool RChipsView::readPhysicalParts() { return false; }
bool RChipsView::readPins() { return false; }
bool RChipsView::readProperties() { return false; }

std::string RChipsView::getPinName() const { return Call(Installed().pinName, pin_); }
std::string RChipsView::getLogPartName() const { return Call(Installed().logPartName, logPart_); }
std::string RChipsView::getPhysPartName() const {
  return Call(Installed().physPartName, physPart_);
}
std::string RChipsView::getPropName() const { return Call(Installed().propName, property_); }
std::string RChipsView::getPropValue() const { return Call(Installed().propValue, property_); }

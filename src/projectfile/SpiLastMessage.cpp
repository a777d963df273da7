#include "projectfile/SpiLastMessage.h"

#include <utility>

namespace {
std::string& Storage() {
  static std::string message;
  return message;
}
}  // namespace

const std::string& SpiLastMessage() { return Storage(); }

void SpiSetLastMessage(std::string message) { Storage() = std::move(message); }

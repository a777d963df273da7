#include "model/ESymbolData.h"

bool ESymbolData::getNextBubbleGroup(std::string& group) {
  if (const std::string* next = bubbleCursor_.next()) group = *next;
  return bubbleCursor_.more();
}

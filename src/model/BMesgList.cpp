#include "model/BMesgList.h"

#include <utility>

BMesgList::~BMesgList() = default;

void BMesgList::add(std::string text, bool isError) {
  messages_.emplace_back(std::move(text), isError);
  if (isError) ++errorCount_;
}

void BMesgList::clear() {
  messages_.clear();
  errorCount_ = 0;
}

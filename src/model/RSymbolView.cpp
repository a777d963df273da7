#include "model/RSymbolView.h"

#include <charconv>

bool RSymbolView::readFile(const std::string& path) {
  file_ = std::ifstream(path);
  if (!file_) return false;
  lines_.clear();
  for (std::string line; std::getline(file_, line);) lines_.push_back(line);
  const bool complete = file_.eof();
  file_.close();
  if (complete) symbolFileName_ = path;
  return complete;
}

int RSymbolView::getSymbolSeq() const {
  int sequence = 0;
  const char* begin = sequenceText_.data();
  std::from_chars(begin, begin + sequenceText_.size(), sequence);
  return sequence;
}

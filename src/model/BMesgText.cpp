#include "model/BMesgText.h"

#include <utility>

BMesgText::BMesgText(std::string text, bool isError) : text_(std::move(text)), isError_(isError) {}

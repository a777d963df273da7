// The kinds of drawing objects a symbol holds. The class carries no data, so assigning one
// copies nothing.
#pragma once

class ESymbolTypes {
 public:
  enum Type { Line, Arc, Text, Pin, Property, BubbleGroup };
  ESymbolTypes() = default;
  ESymbolTypes(const ESymbolTypes&) = default;
  ESymbolTypes& operator=(const ESymbolTypes&) { return *this; }
};

// Draws a symbol view as a librarian expects to see it: the body, each pin as a short line
// from its connection point away from the body with its name inside the body, the symbol's
// name above and the part's library/cell/view below. Qt GUI; UI thread.
#pragma once

#include <string>
#include <vector>

#include "libformat/SymbolView.h"

class QPainter;
class QRect;

struct SymbolDrawing {
  SymbolView symbol;
  std::string caption;             // "library / cell / view"
  std::vector<std::string> notes;  // problems the reader reported, shown small below
  std::string error;               // when set, shown instead of a symbol
};

void PaintSymbol(QPainter& painter, const QRect& area, const SymbolDrawing& drawing);

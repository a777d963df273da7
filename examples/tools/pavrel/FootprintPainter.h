// Draws a footprint as the layout editor's viewer shows it: its pads at their positions (pad 1
// square, each with its number), scaled to the window, the name and file above and, for a
// check, the verdict and each finding beside it. Qt GUI; UI thread.
#pragma once

#include <string>
#include <vector>

class QPainter;
class QRect;

struct DrawnPad {
  std::string number;  // "" for a pad without a number
  double x = 0, y = 0;
  double width = 0, height = 0;  // 0: the pitch's size
  bool round = false;
};

struct FootprintDrawing {
  std::string name;  // from the footprint statement, else the file name
  std::string file;
  double pitch = 100;     // for the layout; 100 when the file gives none that reads
  std::string pitchText;  // as the file gives it
  std::vector<DrawnPad> pads;
  bool placed = false;  // pads from pad statements; else laid out from "pads N" and the pitch
  bool checked = false;
  std::vector<std::string> findings;  // of the check
  std::string error;                  // when set, shown instead of a footprint
};

// Reads the footprint file's statements for drawing (the check itself is the footprint
// flow's); a file without pad statements gets "pads N" laid out in two rows at the pitch.
FootprintDrawing ReadFootprintDrawing(const std::string& file);

void PaintFootprint(QPainter& painter, const QRect& area, const FootprintDrawing& drawing);

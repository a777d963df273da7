#include "FootprintPainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "libformat/FootprintPad.h"

namespace {

double Number(const std::string& text, double otherwise) {
  try {
    std::size_t used = 0;
    const double value = std::stod(text, &used);
    return used == text.size() && value > 0 ? value : otherwise;
  } catch (...) {
    return otherwise;
  }
}

QString Text(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

FootprintDrawing ReadFootprintDrawing(const std::string& file) {
  FootprintDrawing drawing;
  drawing.file = file;
  drawing.name = std::filesystem::path(file).stem().string();
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    drawing.error = "cannot open " + file;
    return drawing;
  }
  long count = 0;
  for (std::string line; std::getline(in, line);) {
    std::istringstream split(line);
    std::vector<std::string> words;
    for (std::string word; split >> word;) words.push_back(word);
    if (words.empty() || words[0][0] == '#') continue;
    if (words[0] == "footprint" && words.size() == 2) {
      drawing.name = words[1];
    } else if (words[0] == "pads" && words.size() == 2) {
      count = std::clamp(static_cast<long>(Number(words[1], 0)), 0L, 1000L);
    } else if (words[0] == "pitch" && words.size() == 2) {
      drawing.pitch = Number(words[1], drawing.pitch);
      drawing.pitchText = words[1];
    } else if (FootprintPad pad; IsPadKeyword(words[0]) && ParsePadStatement(words, pad)) {
      DrawnPad drawn{pad.number, pad.x, pad.y, 0, 0, false};
      if (words.size() >= 7) {
        drawn.round = words[4] == "circle" || words[4] == "oval" || words[4] == "round";
        drawn.width = Number(words[5], 0);
        drawn.height = Number(words[6], 0);
      }
      drawing.pads.push_back(drawn);
    }
  }
  drawing.placed = !drawing.pads.empty();
  // Without positions: two rows facing each other, pad 1 top left, counted anticlockwise.
  const long perRow = (count + 1) / 2;
  for (long i = 0; !drawing.placed && i < count; ++i) {
    const bool first = i < perRow;
    const long place = first ? i : count - 1 - i;
    drawing.pads.push_back({std::to_string(i + 1), first ? 0 : 3 * drawing.pitch,
                            static_cast<double>(place) * drawing.pitch, 0, 0, false});
  }
  return drawing;
}

void PaintFootprint(QPainter& painter, const QRect& area, const FootprintDrawing& drawing) {
  painter.fillRect(area, QColor(24, 28, 36));
  painter.setRenderHint(QPainter::Antialiasing);
  QFont font = painter.font();
  font.setPointSizeF(11);
  painter.setFont(font);
  painter.setPen(Qt::white);
  const QRect title(area.left() + 12, area.top() + 8, area.width() - 24, 24);
  painter.drawText(title, Qt::AlignLeft | Qt::AlignVCenter,
                   painter.fontMetrics().elidedText(
                       Text("footprint " + drawing.name + "  (" + drawing.file + ")"),
                       Qt::ElideMiddle, title.width()));
  if (!drawing.error.empty()) {
    painter.setPen(QColor(255, 120, 120));
    painter.drawText(area.adjusted(12, 40, -12, -12), Qt::AlignLeft | Qt::TextWordWrap,
                     Text(drawing.error));
    return;
  }
  // The board view on the left, the check on the right when there is one.
  QRect board = area.adjusted(12, 40, -12, -12);
  if (drawing.checked) board.setWidth(board.width() * 5 / 9);
  painter.setPen(QColor(70, 80, 96));
  painter.drawRect(board);
  if (drawing.pads.empty()) {
    painter.setPen(QColor(200, 200, 200));
    painter.drawText(board, Qt::AlignCenter, "no pads");
  } else {
    double left = drawing.pads[0].x, right = left, top = drawing.pads[0].y, bottom = top;
    for (const DrawnPad& pad : drawing.pads) {
      left = std::min(left, pad.x), right = std::max(right, pad.x);
      top = std::min(top, pad.y), bottom = std::max(bottom, pad.y);
    }
    // Pads of no given size: most of the nearest spacing between pads, the pitch at most.
    double spacing = drawing.pitch;
    for (std::size_t i = 0; i < drawing.pads.size() && i < 400; ++i) {
      for (std::size_t j = i + 1; j < drawing.pads.size() && j < 400; ++j) {
        const double d = std::hypot(drawing.pads[i].x - drawing.pads[j].x,
                                    drawing.pads[i].y - drawing.pads[j].y);
        if (d > 0) spacing = std::min(spacing, d);
      }
    }
    const double margin = spacing;
    const double scale = std::min((board.width() - 20) / (right - left + 2 * margin),
                                  (board.height() - 20) / (bottom - top + 2 * margin));
    const QPointF centre = QRectF(board).center();
    const QPointF middle((left + right) / 2, (top + bottom) / 2);
    for (const DrawnPad& pad : drawing.pads) {
      const double w = (pad.width > 0 ? pad.width : spacing * 0.6) * scale;
      const double h = (pad.height > 0 ? pad.height : spacing * 0.6) * scale;
      const QPointF at = centre + QPointF(pad.x - middle.x(), pad.y - middle.y()) * scale;
      const QRectF shape(at.x() - w / 2, at.y() - h / 2, w, h);
      painter.setPen(Qt::NoPen);
      painter.setBrush(pad.number == "1" ? QColor(230, 80, 60) : QColor(210, 170, 60));
      if (pad.round || (pad.number != "1" && pad.width == 0)) {
        painter.drawEllipse(shape);
      } else {
        painter.drawRect(shape);
      }
      painter.setPen(QColor(20, 20, 20));
      QFont small = font;
      small.setPointSizeF(std::clamp(h / 3, 5.0, 10.0));
      painter.setFont(small);
      painter.drawText(shape, Qt::AlignCenter, Text(pad.number));
      painter.setFont(font);
    }
  }
  painter.setPen(QColor(160, 170, 185));
  painter.drawText(board.adjusted(6, 0, -6, -4), Qt::AlignLeft | Qt::AlignBottom,
                   Text(std::to_string(drawing.pads.size()) + " pads, pitch " +
                        (drawing.pitchText.empty() ? "none" : drawing.pitchText) +
                        (drawing.placed ? "" : " (laid out from the pad count)")));
  if (!drawing.checked) return;

  QRect check = area.adjusted(board.width() + 24, 40, -12, -12);
  const bool passed = drawing.findings.empty();
  painter.fillRect(check.left(), check.top(), check.width(), 30,
                   passed ? QColor(40, 140, 60) : QColor(170, 40, 40));
  painter.setPen(Qt::white);
  painter.drawText(QRect(check.left() + 8, check.top(), check.width() - 16, 30), Qt::AlignVCenter,
                   Text("Check: " + std::string(passed ? "passed" : "failed") + " (" +
                        std::to_string(drawing.findings.size()) + " errors)"));
  int y = check.top() + 40;
  painter.setPen(QColor(235, 235, 235));
  for (const std::string& finding : drawing.findings) {
    const QRect line(check.left() + 4, y, check.width() - 8, check.bottom() - y);
    QRect used;
    painter.drawText(line, Qt::AlignLeft | Qt::TextWordWrap, Text("\u2022 " + finding), &used);
    y += used.height() + 4;
    if (y > check.bottom() - 16) break;
  }
  if (passed)
    painter.drawText(QRect(check.left() + 4, y, check.width() - 8, 20), 0, "No errors found.");
}

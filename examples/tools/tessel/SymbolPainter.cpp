#include "SymbolPainter.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRectF>
#include <algorithm>

namespace {

constexpr double kStub = 20;  // pin line length in symbol units

enum class Side { Left, Right, Top, Bottom, Inside };

struct Body {
  double xMin, yMin, xMax, yMax;
};

Body BodyOf(const SymbolView& symbol) {
  if (symbol.hasExtent)
    return {double(symbol.xMin), double(symbol.yMin), double(symbol.xMax), double(symbol.yMax)};
  // No extent: a box around the pins, so that they still sit on something.
  Body body{-20, -20, 20, 20};
  for (const SymbolPin& pin : symbol.pins) {
    body.xMin = std::min(body.xMin, double(pin.x));
    body.xMax = std::max(body.xMax, double(pin.x));
    body.yMin = std::min(body.yMin, double(pin.y));
    body.yMax = std::max(body.yMax, double(pin.y));
  }
  return body;
}

Side SideOf(const SymbolPin& pin, const Body& body) {
  if (pin.x <= body.xMin) return Side::Left;
  if (pin.x >= body.xMax) return Side::Right;
  if (pin.y >= body.yMax) return Side::Top;
  if (pin.y <= body.yMin) return Side::Bottom;
  return Side::Inside;
}

QPointF Outward(Side side) {
  switch (side) {
    case Side::Left:
      return {-kStub, 0};
    case Side::Right:
      return {kStub, 0};
    case Side::Top:
      return {0, kStub};
    case Side::Bottom:
      return {0, -kStub};
    case Side::Inside:
      break;
  }
  return {0, 0};
}

// Where a pin's line meets the body: the connection point moved onto the body's edge.
QPointF InnerEnd(const SymbolPin& pin, const Body& body, Side side) {
  switch (side) {
    case Side::Left:
      return {body.xMin, double(pin.y)};
    case Side::Right:
      return {body.xMax, double(pin.y)};
    case Side::Top:
      return {double(pin.x), body.yMax};
    case Side::Bottom:
      return {double(pin.x), body.yMin};
    case Side::Inside:
      break;
  }
  return {double(pin.x), double(pin.y)};
}

// The connection point, or a stub's length out of the body for a pin on its edge.
QPointF OuterEnd(const SymbolPin& pin, const Body& body) {
  const Side side = SideOf(pin, body);
  const QPointF inner = InnerEnd(pin, body, side);
  const QPointF at(pin.x, pin.y);
  if (side != Side::Inside && at != inner) return at;
  return at + Outward(side);
}

void PaintLines(QPainter& painter, QRectF box, const std::vector<std::string>& lines,
                Qt::Alignment align) {
  QString text;
  for (const std::string& line : lines) text += QString::fromStdString(line) + "\n";
  painter.drawText(box, int(align) | Qt::TextWordWrap, text.trimmed());
}

}  // namespace

void PaintSymbol(QPainter& painter, const QRect& area, const SymbolDrawing& drawing) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, Qt::white);
  QFont font = painter.font();
  font.setPointSizeF(11);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  const int line = metrics.height();

  // The caption and the reader's notes take the bottom of the area.
  QRectF footer(area.left() + 10, area.bottom() - 10 - line * (1 + int(drawing.notes.size())),
                area.width() - 20, line * (1 + int(drawing.notes.size())) + 4);
  painter.setPen(QColor(60, 60, 60));
  PaintLines(painter, QRectF(footer.left(), footer.top(), footer.width(), line + 2),
             {drawing.caption}, Qt::AlignHCenter | Qt::AlignTop);
  painter.setPen(QColor(170, 30, 30));
  PaintLines(painter, footer.adjusted(0, line, 0, 0), drawing.notes, Qt::AlignLeft | Qt::AlignTop);

  const QRectF canvas(area.left() + 20, area.top() + 10 + line * 2, area.width() - 40,
                      footer.top() - area.top() - 20 - line * 2);
  if (!drawing.error.empty()) {
    painter.setPen(QColor(170, 30, 30));
    PaintLines(painter, canvas, {drawing.error}, Qt::AlignCenter);
    painter.restore();
    return;
  }

  const SymbolView& symbol = drawing.symbol;
  const Body body = BodyOf(symbol);
  // The whole drawing: the body and every pin's outer end (a pin may sit away from the body,
  // its line running to the body's edge, as imported libraries draw them).
  Body box = body;
  for (const SymbolPin& pin : symbol.pins) {
    const QPointF end = OuterEnd(pin, body);
    box.xMin = std::min(box.xMin, end.x());
    box.xMax = std::max(box.xMax, end.x());
    box.yMin = std::min(box.yMin, end.y());
    box.yMax = std::max(box.yMax, end.y());
  }
  // Symbol units to pixels: y points up in the symbol, down on the screen.
  const double worldW = box.xMax - box.xMin + 40;
  const double worldH = box.yMax - box.yMin + 20;
  const double scale = std::min(canvas.width() / worldW, canvas.height() / worldH);
  const double cx = (box.xMin + box.xMax) / 2;
  const double cy = (box.yMin + box.yMax) / 2;
  const auto map = [&](double x, double y) {
    return QPointF(canvas.center().x() + (x - cx) * scale, canvas.center().y() - (y - cy) * scale);
  };

  // The symbol's name above its body.
  QFont bold = font;
  bold.setBold(true);
  bold.setPointSizeF(13);
  painter.setFont(bold);
  painter.setPen(Qt::black);
  const QPointF topLeft = map(body.xMin, body.yMax);
  const QPointF bottomRight = map(body.xMax, body.yMin);
  painter.drawText(QRectF(area.left(), map(0, box.yMax).y() - line * 2, area.width(), line * 1.6),
                   Qt::AlignHCenter | Qt::AlignBottom,
                   QString::fromStdString(symbol.name.empty() ? "(unnamed symbol)" : symbol.name));
  painter.setFont(font);

  // The body.
  painter.setPen(QPen(QColor(20, 40, 110), 2.5));
  painter.setBrush(QColor(255, 250, 225));
  painter.drawRect(QRectF(topLeft, bottomRight));

  // The origin: a small grey cross.
  painter.setPen(QPen(QColor(150, 150, 150), 1));
  const QPointF origin = map(symbol.originX, symbol.originY);
  painter.drawLine(origin + QPointF(-5, 0), origin + QPointF(5, 0));
  painter.drawLine(origin + QPointF(0, -5), origin + QPointF(0, 5));

  // Pins: a line from the body's edge to the connection point, ending in a dot; the name
  // inside the body.
  for (const SymbolPin& pin : symbol.pins) {
    const Side side = SideOf(pin, body);
    const QPointF inner = InnerEnd(pin, body, side);
    const QPointF outer = OuterEnd(pin, body);
    const QPointF at = map(inner.x(), inner.y());
    const QPointF end = map(outer.x(), outer.y());
    painter.setPen(QPen(QColor(140, 20, 20), 2.5));
    painter.drawLine(at, end);
    painter.setBrush(QColor(140, 20, 20));
    painter.drawEllipse(end, 3, 3);
    painter.setPen(Qt::black);
    const QString name = QString::fromStdString(pin.name);
    const double w = metrics.horizontalAdvance(name) + 4;
    QRectF label;
    switch (side) {
      case Side::Left:
        label = QRectF(at.x() + 6, at.y() - line / 2.0, w, line);
        break;
      case Side::Right:
        label = QRectF(at.x() - 6 - w, at.y() - line / 2.0, w, line);
        break;
      case Side::Top:
        label = QRectF(at.x() - w / 2, at.y() + 4, w, line);
        break;
      case Side::Bottom:
        label = QRectF(at.x() - w / 2, at.y() - 4 - line, w, line);
        break;
      case Side::Inside:
        label = QRectF(at.x() + 6, at.y() - line / 2.0, w, line);
        break;
    }
    painter.drawText(label, Qt::AlignCenter, name);
  }
  painter.restore();
}

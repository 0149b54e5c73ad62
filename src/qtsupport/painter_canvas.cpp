#include "qtsupport/painter_canvas.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QRect>
#include <QRectF>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "qtsupport/text_edge.h"

namespace ql {

QFont FontFor(const FontDesc& desc) {
  QFont font(QString::fromLatin1(desc.face));
  font.setStyleHint(QFont::TypeWriter);
  const int cell = std::max(1, desc.height);
  font.setPixelSize(cell);
  // A cell height counts the leading above the glyphs too; shrink the em so
  // ascent + descent come out at the asked height.
  const double measured = QFontMetricsF(font).height();
  if (measured > 0) {
    font.setPixelSize(std::max(1, static_cast<int>(std::lround(cell * cell / measured))));
  }
  font.setWeight(static_cast<QFont::Weight>(std::clamp(desc.weight, 1, 1000)));
  if (desc.width > 0) {
    const double average = QFontMetricsF(font).averageCharWidth();
    if (average > 0) {
      font.setStretch(
          std::clamp(static_cast<int>(std::lround(100.0 * desc.width / average)), 1, 4000));
    }
  }
  return font;
}

QFont DefaultPanelFont() {
  // Narrow enough that the widest scale text of the trend graph, "-4.000"
  // from x = 2, ends left of the y axis at x = 45.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(12);
  font.setWeight(QFont::Bold);
  return font;
}

void DrawAnchoredText(QPainter& painter, QPointF anchor, const QString& text, const QFont& font,
                      double angle, const QColor& opaqueBackground) {
  const QFontMetricsF metrics(font);
  painter.save();
  painter.setFont(font);
  painter.translate(anchor);
  painter.rotate(-angle);
  if (opaqueBackground.isValid()) {
    painter.fillRect(QRectF(0, 0, metrics.horizontalAdvance(text), metrics.height()),
                     opaqueBackground);
  }
  painter.setPen(QPen(Qt::black));
  painter.drawText(QPointF(0, metrics.ascent()), text);
  painter.restore();
}

PainterCanvas::PainterCanvas(QPainter& painter)
    : painter_(painter), defaultFont_(DefaultPanelFont()), verticalFont_(FontFor(kVerticalFont)) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
}

void PainterCanvas::FillRect(int x1, int y1, int x2, int y2, Rgb fill) {
  const int left = std::min(x1, x2), right = std::max(x1, x2);
  const int top = std::min(y1, y2), bottom = std::max(y1, y2);
  if (right == left || bottom == top) return;
  const QRect area(left, top, right - left, bottom - top);
  painter_.fillRect(area, ToQColor(fill));
  painter_.setPen(QPen(Qt::black, 0));
  painter_.setBrush(Qt::NoBrush);
  // A one-pixel pen outlines QRect(x, y, w, h) on columns x .. x + w.
  painter_.drawRect(area.adjusted(0, 0, -1, -1));
}

void PainterCanvas::MoveTo(int x, int y) { current_ = QPoint(x, y); }

void PainterCanvas::LineTo(int x, int y) {
  const QPoint from = current_;
  current_ = QPoint(x, y);
  const int dx = x - from.x();
  const int dy = y - from.y();
  const int steps = std::max(std::abs(dx), std::abs(dy));
  if (steps == 0) return;
  // The last pixel before the end point, one step back along the major axis.
  const double back = static_cast<double>(steps - 1) / steps;
  const QPoint last(from.x() + static_cast<int>(std::lround(dx * back)),
                    from.y() + static_cast<int>(std::lround(dy * back)));
  painter_.setPen(QPen(Qt::black, 0));
  if (last == from) {
    painter_.drawPoint(from);
  } else {
    painter_.drawLine(from, last);
  }
}

void PainterCanvas::SetPixel(int x, int y, Rgb colour) {
  painter_.fillRect(QRect(x, y, 1, 1), ToQColor(colour));
}

void PainterCanvas::Text(int x, int y, std::string_view text) {
  DrawAnchoredText(painter_, QPointF(x, y), FromLatin1(text), defaultFont_, 0, TextBackground());
}

void PainterCanvas::VerticalText(int x, int y, std::string_view text) {
  DrawAnchoredText(painter_, QPointF(x, y), FromLatin1(text), verticalFont_,
                   kVerticalFont.escapement / 10.0, TextBackground());
}

void PainterCanvas::SetTransparentText(bool transparent) { transparent_ = transparent; }

void PainterCanvas::SetBackgroundColour(Rgb colour) { background_ = ToQColor(colour); }

QColor PainterCanvas::TextBackground() const { return transparent_ ? QColor() : background_; }

}  // namespace ql

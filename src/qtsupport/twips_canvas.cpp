#include "qtsupport/twips_canvas.h"

#include <QPainter>
#include <QPen>
#include <QRectF>

#include <algorithm>
#include <cmath>

#include "qtsupport/painter_canvas.h"
#include "qtsupport/text_edge.h"

namespace ql {

namespace {
constexpr double kTwipsPerInch = 1440.0;
constexpr double kPageFontPoints = 10.0;
}  // namespace

QFont DefaultPageFont(double dotsPerInch) {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter);
  font.setPixelSize(
      std::max(1, static_cast<int>(std::lround(dotsPerInch * kPageFontPoints / 72.0))));
  return font;
}

TwipsCanvas::TwipsCanvas(QPainter& painter, double dotsPerInch)
    : painter_(painter), scale_(dotsPerInch / kTwipsPerInch), font_(DefaultPageFont(dotsPerInch)) {}

QPointF TwipsCanvas::ToDevice(int x, int y) const { return QPointF(x * scale_, -y * scale_); }

void TwipsCanvas::FillRect(int x1, int y1, int x2, int y2, Rgb fill) {
  const QRectF area = QRectF(ToDevice(x1, y1), ToDevice(x2, y2)).normalized();
  if (area.isEmpty()) return;
  painter_.fillRect(area, ToQColor(fill));
  painter_.setPen(QPen(Qt::black, 0));
  painter_.setBrush(Qt::NoBrush);
  painter_.drawRect(area);
}

void TwipsCanvas::MoveTo(int x, int y) { current_ = ToDevice(x, y); }

void TwipsCanvas::LineTo(int x, int y) {
  const QPointF to = ToDevice(x, y);
  if (to != current_) {
    painter_.setPen(QPen(Qt::black, 0));
    painter_.drawLine(current_, to);
  }
  current_ = to;
}

void TwipsCanvas::SetPixel(int x, int y, Rgb colour) {
  // One twip, or one device dot where a dot is larger.
  const double side = std::max(1.0, scale_);
  painter_.fillRect(QRectF(ToDevice(x, y), QSizeF(side, side)), ToQColor(colour));
}

void TwipsCanvas::Text(int x, int y, std::string_view text) {
  DrawAnchoredText(painter_, ToDevice(x, y), FromLatin1(text), font_, 0, TextBackground());
}

void TwipsCanvas::VerticalText(int x, int y, std::string_view text) {
  DrawAnchoredText(painter_, ToDevice(x, y), FromLatin1(text), font_, 90, TextBackground());
}

void TwipsCanvas::SetTransparentText(bool transparent) { transparent_ = transparent; }

void TwipsCanvas::SetBackgroundColour(Rgb colour) { background_ = ToQColor(colour); }

QColor TwipsCanvas::TextBackground() const { return transparent_ ? QColor() : background_; }

}  // namespace ql

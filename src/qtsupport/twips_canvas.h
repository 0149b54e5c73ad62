#pragma once
// The Canvas seam on a printed page: the drawing is given in twips (1/1440
// inch) with y growing upward, so every point of the page has a negative y,
// and (x, y) lands x/1440 inch right of and -y/1440 inch below the top-left
// corner of the printable area (the painter's origin on QPrinter and
// QPdfWriter once their margins are set). Texts stay upright: their anchor
// is mapped and they are drawn in device units. REQUIRES a QGuiApplication.

#include <QColor>
#include <QFont>
#include <QPointF>

#include "graph/canvas.h"

class QPainter;

namespace ql {

// The default font of a printed page: a monospace face of 10 points, so the
// fixed-layout lines of readings keep their columns on paper.
QFont DefaultPageFont(double dotsPerInch);

class TwipsCanvas : public Canvas {
 public:
  // `dotsPerInch` is the device's resolution (QPaintDevice::logicalDpiX()).
  // REQUIRES: `painter` is active with an identity world transform and
  // outlives this canvas.
  TwipsCanvas(QPainter& painter, double dotsPerInch);
  TwipsCanvas(const TwipsCanvas&) = delete;
  TwipsCanvas& operator=(const TwipsCanvas&) = delete;

  void FillRect(int x1, int y1, int x2, int y2, Rgb fill) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetPixel(int x, int y, Rgb colour) override;
  void Text(int x, int y, std::string_view text) override;
  void VerticalText(int x, int y, std::string_view text) override;
  void SetTransparentText(bool transparent) override;
  void SetBackgroundColour(Rgb colour) override;

  // The device point that the twips point (x, y) lands on.
  QPointF ToDevice(int x, int y) const;

 private:
  QColor TextBackground() const;

  QPainter& painter_;
  double scale_;  // device units per twip
  QPointF current_;
  bool transparent_ = false;
  QColor background_{Qt::white};
  QFont font_;
};

}  // namespace ql

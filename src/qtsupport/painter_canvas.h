#pragma once
// The Canvas seam on a QPainter in panel pixels (origin top-left, y down),
// as faithful to the pixel rules of the drawings as Qt allows: a filled
// rectangle excludes its right and bottom edges and is outlined one pixel
// inside them; a line leaves out its end point; texts are placed by their
// top-left corner. Used for the meter panel on screen, for PNG pictures
// (QImage) and SVG pictures (QSvgGenerator).
//
// Fonts come from ql::FontDesc through FontFor(). FontFor and the canvases
// measure fonts, so they REQUIRE a QGuiApplication.

#include <QColor>
#include <QFont>
#include <QPoint>
#include <QPointF>
#include <QString>

#include "graph/canvas.h"
#include "run/fonts.h"

class QPainter;

namespace ql {

// The QFont that realises `desc`: the face (Courier New resolves to a
// metric-compatible monospace face), a pixel size that gives the character
// cell height `desc.height`, the weight, and a stretch that brings the
// average character width near `desc.width`. The escapement is not part of
// the font: the canvas turns the text.
QFont FontFor(const FontDesc& desc);

// The panel's default text font: a narrow sans face 12 pixels high, bold,
// like the window system's default font of a device context.
QFont DefaultPanelFont();

// Draws `text` with the top-left corner of its cell at `anchor` (device
// units), turned by `angle` degrees counter-clockwise about the anchor, and,
// when `opaqueBackground` is valid, on a cell filled with that colour.
void DrawAnchoredText(QPainter& painter, QPointF anchor, const QString& text, const QFont& font,
                      double angle, const QColor& opaqueBackground);

class PainterCanvas : public Canvas {
 public:
  // REQUIRES: `painter` is active and outlives this canvas. The painter's
  // pen, brush and font are changed as the operations need.
  explicit PainterCanvas(QPainter& painter);
  PainterCanvas(const PainterCanvas&) = delete;
  PainterCanvas& operator=(const PainterCanvas&) = delete;

  void FillRect(int x1, int y1, int x2, int y2, Rgb fill) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void SetPixel(int x, int y, Rgb colour) override;
  void Text(int x, int y, std::string_view text) override;
  void VerticalText(int x, int y, std::string_view text) override;
  void SetTransparentText(bool transparent) override;
  void SetBackgroundColour(Rgb colour) override;

 private:
  QColor TextBackground() const;

  QPainter& painter_;
  QPoint current_;                // the current point of MoveTo/LineTo
  bool transparent_ = false;      // a fresh device context draws text opaque
  QColor background_{Qt::white};  // ... on white
  QFont defaultFont_;
  QFont verticalFont_;
};

inline QColor ToQColor(Rgb c) { return QColor(c.r, c.g, c.b); }

}  // namespace ql

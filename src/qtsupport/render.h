#pragma once
// Pictures and printed pages of the view's drawings, away from the screen:
// the meter panel as a PNG (QImage) or SVG (QSvgGenerator) picture, and a
// print job as PDF pages (QPdfWriter) in twips. Rendering and writing are
// separate steps, so a caller can decide after drawing whether to keep the
// result. The desktop program prints through DrawPages() on its QPrinter.
// REQUIRES a QGuiApplication.

#include <QByteArray>
#include <QImage>
#include <QMarginsF>
#include <QPageSize>
#include <QString>

#include <functional>

#include "graph/canvas.h"
#include "graph/panel_geometry.h"

class QPagedPaintDevice;
class QPainter;

namespace ql {

// The meter panel's size in pixels.
inline constexpr int kPanelWidth = panel::kWidth;
inline constexpr int kPanelHeight = panel::kHeight;

// Draws the whole panel on the canvas it is given.
using PanelDraw = std::function<void(Canvas& canvas)>;
// Draws page `page` (from 1) of a print job on the canvas it is given.
using PageDraw = std::function<void(Canvas& canvas, int page)>;

// The panel picture on the form's grey, drawn by `draw`.
QImage RenderPanelImage(const PanelDraw& draw);
// The PNG file of `image`.
QByteArray EncodePng(const QImage& image);
// The SVG file of the panel picture drawn by `draw`.
QByteArray RenderPanelSvg(const PanelDraw& draw);

struct PdfPageOptions {
  QPageSize::PageSizeId pageSize = QPageSize::A4;
  int resolution = 1200;  // dots per inch
};

// The printable area the report layout needs, in twips: 11300 x 15500 and a
// little more, so the page number below the last line fits.
inline constexpr int kPrintableWidthTwips = 11450;
inline constexpr int kPrintableHeightTwips = 15700;

// Margins, in inches, that centre the printable area the layout needs on a
// sheet of `size` (zero where the sheet is not larger). For QPrinter and
// QPdfWriter alike.
QMarginsF ReportMarginsInch(const QPageSize& size);

// Draws pages 1 .. pageCount on `device` through `painter`, starting a new
// page before each but the first, each on a fresh TwipsCanvas.
// REQUIRES: painter is active on device; pageCount >= 1.
void DrawPages(QPainter& painter, QPagedPaintDevice& device, int pageCount, const PageDraw& draw);

// The PDF file of pages 1 .. pageCount. The margins centre the printable
// area the layout needs on the sheet (zero where the sheet is not larger).
// REQUIRES: pageCount >= 1.
QByteArray RenderPdf(int pageCount, const PageDraw& draw, const PdfPageOptions& options = {});

}  // namespace ql

#include "qtsupport/render.h"

#include <QBuffer>
#include <QMarginsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>

#include "qtsupport/painter_canvas.h"
#include "qtsupport/twips_canvas.h"

namespace ql {

namespace {

const QColor kFormColour(212, 208, 200);  // the dialog face around the panel

}  // namespace

QImage RenderPanelImage(const PanelDraw& draw) {
  QImage image(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
  image.fill(kFormColour);
  QPainter painter(&image);
  PainterCanvas canvas(painter);
  draw(canvas);
  return image;
}

QByteArray EncodePng(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

QByteArray RenderPanelSvg(const PanelDraw& draw) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QSvgGenerator generator;
  generator.setOutputDevice(&buffer);
  generator.setSize(QSize(kPanelWidth, kPanelHeight));
  generator.setViewBox(QRect(0, 0, kPanelWidth, kPanelHeight));
  generator.setTitle(QStringLiteral("Quintaline meter panel"));
  QPainter painter(&generator);
  painter.fillRect(QRect(0, 0, kPanelWidth, kPanelHeight), kFormColour);
  {
    PainterCanvas canvas(painter);
    draw(canvas);
  }
  painter.end();
  return bytes;
}

void DrawPages(QPainter& painter, QPagedPaintDevice& device, int pageCount, const PageDraw& draw) {
  for (int page = 1; page <= pageCount; ++page) {
    if (page > 1) device.newPage();
    painter.resetTransform();
    TwipsCanvas canvas(painter, device.logicalDpiX());
    draw(canvas, page);
  }
}

QMarginsF ReportMarginsInch(const QPageSize& size) {
  const QSizeF sheet = size.size(QPageSize::Inch);
  const double x = std::max(0.0, (sheet.width() - kPrintableWidthTwips / 1440.0) / 2);
  const double y = std::max(0.0, (sheet.height() - kPrintableHeightTwips / 1440.0) / 2);
  return QMarginsF(x, y, x, y);
}

QByteArray RenderPdf(int pageCount, const PageDraw& draw, const PdfPageOptions& options) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  {
    QPdfWriter writer(&buffer);
    writer.setResolution(options.resolution);
    writer.setCreator(QStringLiteral("Quintaline"));
    writer.setTitle(QStringLiteral("Quintaline report"));
    const QPageSize size(options.pageSize);
    writer.setPageLayout(
        QPageLayout(size, QPageLayout::Portrait, ReportMarginsInch(size), QPageLayout::Inch));
    QPainter painter(&writer);
    DrawPages(painter, writer, pageCount, draw);
  }
  return bytes;
}

}  // namespace ql

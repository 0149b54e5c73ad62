#include "qtsupport/render.h"

#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>

#include <algorithm>

#include "qtsupport/painter_canvas.h"
#include "qtsupport/text_edge.h"
#include "qtsupport/twips_canvas.h"

namespace ql {

namespace {

const QColor kFormColour(212, 208, 200);  // the dialog face around the panel

Status WriteFailure(const QString& path, const QString& reason) {
  return Status::IoError(QStringToUtf8(path + QStringLiteral(": ") + reason));
}

// Returns the reason `path` cannot be written, or an empty text. Painting
// devices only say that painting failed, not why.
QString WritableProblem(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  return {};
}

}  // namespace

QImage RenderPanelImage(const PanelDraw& draw) {
  QImage image(kPanelWidth, kPanelHeight, QImage::Format_RGB32);
  image.fill(kFormColour);
  QPainter painter(&image);
  PainterCanvas canvas(painter);
  draw(canvas);
  return image;
}

Status WritePanelPng(const QString& path, const PanelDraw& draw) {
  const QImage image = RenderPanelImage(draw);
  if (const QString problem = WritableProblem(path); !problem.isEmpty()) {
    return WriteFailure(path, problem);
  }
  if (!image.save(path, "PNG")) return WriteFailure(path, QStringLiteral("cannot write PNG"));
  return Status::Ok();
}

Status WritePanelSvg(const QString& path, const PanelDraw& draw) {
  if (const QString problem = WritableProblem(path); !problem.isEmpty()) {
    return WriteFailure(path, problem);
  }
  QSvgGenerator generator;
  generator.setFileName(path);
  generator.setSize(QSize(kPanelWidth, kPanelHeight));
  generator.setViewBox(QRect(0, 0, kPanelWidth, kPanelHeight));
  generator.setTitle(QStringLiteral("Quintaline meter panel"));
  QPainter painter;
  if (!painter.begin(&generator)) return WriteFailure(path, QStringLiteral("cannot write SVG"));
  painter.fillRect(QRect(0, 0, kPanelWidth, kPanelHeight), kFormColour);
  {
    PainterCanvas canvas(painter);
    draw(canvas);
  }
  if (!painter.end()) return WriteFailure(path, QStringLiteral("cannot write SVG"));
  return Status::Ok();
}

void DrawPages(QPainter& painter, QPagedPaintDevice& device, int pageCount, const PageDraw& draw) {
  for (int page = 1; page <= pageCount; ++page) {
    if (page > 1) device.newPage();
    painter.resetTransform();
    TwipsCanvas canvas(painter, device.logicalDpiX());
    draw(canvas, page);
  }
}

Status WritePdf(const QString& path, int pageCount, const PageDraw& draw,
                const PdfPageOptions& options) {
  if (const QString problem = WritableProblem(path); !problem.isEmpty()) {
    return WriteFailure(path, problem);
  }
  QPdfWriter writer(path);
  writer.setResolution(options.resolution);
  writer.setCreator(QStringLiteral("Quintaline"));
  writer.setTitle(QStringLiteral("Quintaline report"));
  const QPageSize size(options.pageSize);
  const QSizeF sheet = size.size(QPageSize::Inch);
  const double marginX = std::max(0.0, (sheet.width() - kPrintableWidthTwips / 1440.0) / 2);
  const double marginY = std::max(0.0, (sheet.height() - kPrintableHeightTwips / 1440.0) / 2);
  writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait,
                                   QMarginsF(marginX, marginY, marginX, marginY),
                                   QPageLayout::Inch));
  QPainter painter;
  if (!painter.begin(&writer)) return WriteFailure(path, QStringLiteral("cannot write PDF"));
  DrawPages(painter, writer, pageCount, draw);
  if (!painter.end()) return WriteFailure(path, QStringLiteral("cannot write PDF"));
  return Status::Ok();
}

}  // namespace ql

#include "app/print_job.h"

#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

#include "app/qarn_form.h"
#include "qtsupport/render.h"
#include "qtsupport/twips_canvas.h"
#include "run/qarn_view.h"

namespace ql {

void FitReportPage(QPrinter& printer) {
  printer.setPageMargins(ReportMarginsInch(printer.pageLayout().pageSize()), QPageLayout::Inch);
}

bool PrintReport(QarnForm& form, CQarnView& view, QPrinter& printer, int from, int to) {
  // Titled as the report header's "Printing Filename" line.
  printer.setDocName(form.FileTitle());
  QPainter painter;
  if (!painter.begin(&printer)) return false;
  for (int page = from; page <= to; ++page) {
    if (page > from) printer.newPage();
    painter.resetTransform();
    TwipsCanvas canvas(painter, printer.logicalDpiX());
    form.Handle([&] { view.OnPrint(canvas, page); });
  }
  return painter.end();
}

}  // namespace ql

// Printing the report of the list of readings: the page count of a job and
// the drawing of each page.

#include "print/report.h"
#include "run/qarn_view.h"

namespace ql {

int CQarnView::OnPreparePrinting() {
  return ReportPageCount(m_nDisplayForm, m_nLineCount, m_nLinesPerPage);
}

void CQarnView::OnPrint(Canvas& canvas, int page) {
  ReportContext context;
  context.displayForm = m_nDisplayForm;
  context.graphStart = m_nGraphStart;
  context.graphLength = m_nGraphLength;
  context.linesPerPage = m_nLinesPerPage;
  context.fileName = m_szFileName;
  const PageResult result = PrintReportPage(canvas, page, m_list, context, m_fGraphValue);
  if (result.empty) {
    m_host.status.MessageBox(kNoDataText);
    return;
  }
  m_nLineCount = result.lineCount;
  PrintPageNumber(canvas, page);
}

void CQarnView::PrintPageNumber(Canvas& canvas, int page) { DrawPageNumber(canvas, page); }

}  // namespace ql

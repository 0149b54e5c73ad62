#pragma once
// The one print path of the measuring window: Print, Print Preview and the
// tests all draw a job through PrintReport. Pages are drawn by the view in
// twips on a fresh canvas each, from the top-left of the printable area.

class QPrinter;

namespace ql {

class CQarnView;
class QarnForm;

// Sets margins that centre the printable area the report needs on the
// printer's sheet (none where the sheet is not larger).
void FitReportPage(QPrinter& printer);

// Draws pages `from` .. `to` (from 1) of the view's report on `printer`, each
// page as one handler of `form`. Returns true iff the printer took the job;
// REQUIRES: 1 <= from <= to.
bool PrintReport(QarnForm& form, CQarnView& view, QPrinter& printer, int from, int to);

}  // namespace ql

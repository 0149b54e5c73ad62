#pragma once
// Qt's application object sets the C library's locale from the user's
// environment. The core writes numbers into texts with printf-style formats
// and reads them back with '.' as the decimal point, so the numeric part of
// the C library's locale goes back to "C" once the application object
// exists: the panel, the mode boxes and the list then agree in every locale.
//
// Only CSV written for a spreadsheet takes the user's own decimal separator
// (LC_ALL, else LC_NUMERIC, else LANG), so that the spreadsheet, set to the
// same locale, reads the numbers as numbers.

#include <QLocale>

#include <clocale>
#include <string>

#include "files/csv_text.h"
#include "qtsupport/text_edge.h"

namespace ql {

inline void UseClassicNumbers() { std::setlocale(LC_NUMERIC, "C"); }

// The CSV choices for the user's locale: its decimal separator and ';'
// between fields.
inline CsvChoices UserLocaleCsvChoices(bool bom) {
  return LocaleCsvChoices(QStringToUtf8(QLocale::system().decimalPoint()), bom);
}

}  // namespace ql

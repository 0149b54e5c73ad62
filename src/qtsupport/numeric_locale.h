#pragma once
// Qt's application object sets the C library's locale from the user's
// environment. The core writes numbers into texts with printf-style formats
// and reads them back with '.' as the decimal point, so the numeric part of
// the C library's locale goes back to "C" once the application object
// exists: the panel, the mode boxes and the list then agree in every locale.

#include <clocale>

namespace ql {

inline void UseClassicNumbers() { std::setlocale(LC_NUMERIC, "C"); }

}  // namespace ql

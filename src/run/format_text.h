#pragma once
// printf-style formatting into a string that is always as long as the text
// needs, so a control text never overruns or loses its end, whatever int,
// float, infinity or NaN a stored setting or a reading puts into it.

#include <string>

namespace ql {

// Returns the text that std::snprintf would write for `format` and its
// arguments, whole.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace ql

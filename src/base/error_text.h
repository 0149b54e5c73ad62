#pragma once
// How a failed system call is told: what failed (a path, or the call's name
// where there is no path), then the system's words for the error.

#include <cstring>
#include <string>

namespace ql {

inline std::string ErrorText(const std::string& what, int error) {
  return what + ": " + std::strerror(error);
}

}  // namespace ql

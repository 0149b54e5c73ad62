#pragma once
// Writing an output file (picture, PDF, CSV) all or nothing.

#include <QByteArray>
#include <QString>

#include "base/status.h"

namespace ql {

// Writes `bytes` to `path` through a temporary file beside it that replaces
// the target only once everything was written, so a failure never leaves a
// half-written file or destroys an older one. The reason of a failure names
// the path and the cause.
Status WriteWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace ql

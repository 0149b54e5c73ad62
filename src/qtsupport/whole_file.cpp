#include "qtsupport/whole_file.h"

#include <QFile>

#include <string>
#include <string_view>

#include "files/atomic_file.h"

namespace ql {

Status WriteWholeFile(const QString& path, const QByteArray& bytes) {
  return WriteFileAtomically(
      QFile::encodeName(path).toStdString(),
      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace ql

#include "qtsupport/whole_file.h"

#include <QSaveFile>

#include "qtsupport/text_edge.h"

namespace ql {

Status WriteWholeFile(const QString& path, const QByteArray& bytes) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    return Status::IoError(QStringToUtf8(path + QStringLiteral(": ") + file.errorString()));
  }
  return Status::Ok();
}

}  // namespace ql

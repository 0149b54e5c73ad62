#include "app/help.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace ql {

QString HelpFilePath() {
  const QString name = QString::fromLatin1(kHelpFileName);
  const QDir programDir(QCoreApplication::applicationDirPath());
  const QStringList places{programDir.path(),
                           programDir.filePath(QStringLiteral(QUINTALINE_INSTALLED_HELP_DIR)),
                           QStringLiteral(QUINTALINE_HELP_DIR)};
  for (const QString& place : places) {
    const QString path = QDir(place).filePath(name);
    if (QFileInfo::exists(path)) return QFileInfo(path).absoluteFilePath();
  }
  return {};
}

QUrl HelpUrl(const QString& path, const QString& topic) {
  QUrl url = QUrl::fromLocalFile(path);
  if (!topic.isEmpty()) url.setFragment(topic);
  return url;
}

}  // namespace ql

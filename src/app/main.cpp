// quintaline: the desktop program.

#include <QApplication>

#include "app/dialogs.h"
#include "app/qarn_app.h"
#include "app/toolbar_icons.h"
#include "qtsupport/numeric_locale.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  ql::UseClassicNumbers();
  QApplication::setApplicationName(QStringLiteral("Quintaline"));
  QApplication::setOrganizationName(QStringLiteral("Quintaline"));
  QApplication::setWindowIcon(ql::AppIcon());
  ql::QtDialogs dialogs;
  ql::CQarnApp app(dialogs);
  if (!app.InitInstance(QApplication::arguments())) return 1;
  return QApplication::exec();
}

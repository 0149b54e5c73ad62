// The dialogs of the journal and of CSV export: the question before a run is
// deleted, and the choices a CSV file is written with.

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLocale>
#include <QMessageBox>
#include <QVBoxLayout>

#include "app/dialog_frame.h"
#include "app/dialogs.h"

namespace ql {

bool QtDialogs::Confirm(QWidget* parent, const QString& text, const QString& detail) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("Quintaline"), text,
                  QMessageBox::Yes | QMessageBox::No, parent);
  UseDialogFrame(box);
  box.setDefaultButton(QMessageBox::No);
  if (!detail.isEmpty()) box.setInformativeText(detail);
  return box.exec() == QMessageBox::Yes;
}

bool QtDialogs::CsvOptions(QWidget* parent, CsvExportChoice& choice) {
  QDialog dialog(parent);
  UseDialogFrame(dialog);
  dialog.setWindowTitle(QStringLiteral("Export CSV"));
  auto* layout = new QVBoxLayout(&dialog);
  const QLocale locale = QLocale::system();
  auto* localeNumbers = new QCheckBox(
      QStringLiteral("Numbers as this computer's locale writes them (%1), ';' between fields")
          .arg(locale.toString(1.5, 'f', 1)),
      &dialog);
  localeNumbers->setObjectName(QStringLiteral("localeNumbers"));
  localeNumbers->setChecked(choice.localeNumbers);
  auto* bom = new QCheckBox(QStringLiteral("Start with a byte order mark (for spreadsheets that "
                                           "need it to read UTF-8)"),
                            &dialog);
  bom->setObjectName(QStringLiteral("bom"));
  bom->setChecked(choice.bom);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  layout->addWidget(localeNumbers);
  layout->addWidget(bom);
  layout->addWidget(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  choice.localeNumbers = localeNumbers->isChecked();
  choice.bom = bom->isChecked();
  return true;
}

}  // namespace ql

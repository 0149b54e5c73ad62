#pragma once
// Page setup for a printer that is not one of the system's print queues
// (the PDF printer of a machine without any): paper size and orientation.
// Qt's own page-setup dialog serves native printers only and warns on any
// other, so Print Setup falls back to this one.

#include <QDialog>

class QComboBox;
class QPrinter;
class QRadioButton;

namespace ql {

class CPageSetupDlg : public QDialog {
  Q_OBJECT
 public:
  // Shows the page of `printer`, which must outlive the dialog.
  explicit CPageSetupDlg(QPrinter& printer, QWidget* parent = nullptr);

  QComboBox* PaperBox() const { return m_paper; }
  QRadioButton* Landscape() const { return m_landscape; }

  // Sets the chosen page on the printer, keeping the report's margins.
  void accept() override;

 private:
  QPrinter& m_printer;
  QComboBox* m_paper = nullptr;
  QRadioButton* m_portrait = nullptr;
  QRadioButton* m_landscape = nullptr;
};

}  // namespace ql

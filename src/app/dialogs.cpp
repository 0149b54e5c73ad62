#include "app/dialogs.h"

#include <algorithm>

#include <QDesktopServices>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QUrl>

#include "app/about_box.h"
#include "app/com_port_dlg.h"
#include "app/dialog_frame.h"
#include "app/page_setup_dlg.h"
#include "qtsupport/text_edge.h"

namespace ql {

QStringList NameFilters(const std::string& filter) {
  const QStringList parts = FromLatin1(filter).split(QLatin1Char('\n'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& name = parts[i];
    if (name.isEmpty()) break;
    const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << (name.contains(QLatin1Char('('))
                    ? name
                    : name + QStringLiteral(" (") + patterns + QLatin1Char(')'));
  }
  return filters;
}

namespace {

// Room beside a message box's title for the title bar's buttons, and beside
// its texts for the icon and the margins.
constexpr int kTitleBarButtons = 140;
constexpr int kIconAndMargins = 90;
constexpr int kWidestMessageBox = 900;

// Makes the box wide enough for its whole title and for the detail line
// unbroken (a path wrapped inside its words cannot be read), up to a width
// that still fits a small screen.
void FitMessageWidth(QMessageBox& box, const QString& detail) {
  auto* grid = qobject_cast<QGridLayout*>(box.layout());
  if (!grid) return;
  const QFontMetrics metrics(box.font());
  const int wanted = std::max(metrics.horizontalAdvance(box.windowTitle()) + kTitleBarButtons,
                              metrics.horizontalAdvance(detail) + kIconAndMargins);
  grid->addItem(new QSpacerItem(std::min(wanted, kWidestMessageBox), 0, QSizePolicy::Minimum),
                grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

void QtDialogs::Message(QWidget* parent, const QString& text, const QString& detail) {
  QMessageBox box(QMessageBox::Warning, QStringLiteral("Quintaline"), text, QMessageBox::Ok,
                  parent);
  UseDialogFrame(box);
  if (!detail.isEmpty()) box.setInformativeText(detail);
  FitMessageWidth(box, detail);
  box.exec();
}

namespace {

// Configures the dialog parts both file dialogs share.
void Prepare(QFileDialog& dialog, const FileDialogOptions& options) {
  dialog.setNameFilters(NameFilters(options.filter));
  dialog.setDefaultSuffix(FromLatin1(options.defaultExtension));
  // The remembered path comes back in the file system's encoding.
  if (!options.initialPath.empty()) {
    dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(options.initialPath)));
  }
}

std::optional<QString> Chosen(const QFileDialog& dialog) {
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return std::nullopt;
  return files.front();
}

}  // namespace

std::optional<QString> QtDialogs::OpenFile(QWidget* parent, const FileDialogOptions& options) {
  QFileDialog dialog(parent);
  UseDialogFrame(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  Prepare(dialog, options);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return Chosen(dialog);
}

std::optional<QString> QtDialogs::SaveFile(QWidget* parent, const FileDialogOptions& options) {
  QFileDialog dialog(parent);
  UseDialogFrame(dialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !options.overwritePrompt);
  Prepare(dialog, options);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return Chosen(dialog);
}

bool QtDialogs::PortDialog(QWidget* parent, int& selPort, const QStringList& devices) {
  CComPortDlg dialog(devices, parent);
  dialog.m_nSelPort = selPort;
  if (dialog.exec() != QDialog::Accepted) return false;
  selPort = dialog.m_nSelPort;
  return true;
}

bool QtDialogs::PrintDialog(QWidget* parent, QPrinter& printer, int pageCount) {
  QPrintDialog dialog(&printer, parent);
  UseDialogFrame(dialog);
  dialog.setMinMax(1, pageCount);
  dialog.setFromTo(1, pageCount);
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
  return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::PrintPreview(QWidget* parent, QPrinter& printer,
                             const std::function<void(QPrinter&)>& paint) {
  QPrintPreviewDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("Quintaline - Print Preview"));
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested,
                   [&paint](QPrinter* target) { paint(*target); });
  dialog.resize(760, 640);
  dialog.exec();
}

bool QtDialogs::PageSetup(QWidget* parent, QPrinter& printer) {
  // Qt's dialog knows the system's print queues only; without one the
  // printer writes PDF and gets our own.
  if (printer.outputFormat() != QPrinter::NativeFormat) {
    CPageSetupDlg dialog(printer, parent);
    return dialog.exec() == QDialog::Accepted;
  }
  QPageSetupDialog dialog(&printer, parent);
  UseDialogFrame(dialog);
  return dialog.exec() == QDialog::Accepted;
}

void QtDialogs::About(QWidget* parent) {
  CAboutBox box(parent);
  box.exec();
}

bool QtDialogs::OpenHelp(const QUrl& url) { return QDesktopServices::openUrl(url); }

}  // namespace ql

#include "app/page_setup_dlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPrinter>
#include <QRadioButton>
#include <QVBoxLayout>

#include <array>

#include "app/dialog_frame.h"
#include "app/print_job.h"

namespace ql {
namespace {

constexpr std::array<QPageSize::PageSizeId, 6> kPapers{
    QPageSize::A4, QPageSize::Letter, QPageSize::Legal,
    QPageSize::A3, QPageSize::A5,     QPageSize::Executive};

}  // namespace

CPageSetupDlg::CPageSetupDlg(QPrinter& printer, QWidget* parent)
    : QDialog(parent), m_printer(printer) {
  UseDialogFrame(*this);
  setWindowTitle(QStringLiteral("Page Setup"));
  setObjectName(QStringLiteral("pageSetupDlg"));

  const QPageLayout page = printer.pageLayout();
  m_paper = new QComboBox(this);
  for (QPageSize::PageSizeId id : kPapers) {
    m_paper->addItem(QPageSize::name(id), static_cast<int>(id));
  }
  const int current = m_paper->findData(static_cast<int>(page.pageSize().id()));
  if (current >= 0) {
    m_paper->setCurrentIndex(current);
  } else {
    // A size set elsewhere stays choosable as it is.
    m_paper->addItem(page.pageSize().name(), static_cast<int>(page.pageSize().id()));
    m_paper->setCurrentIndex(m_paper->count() - 1);
  }

  auto* paperGroup = new QGroupBox(QStringLiteral("Paper"), this);
  auto* paperForm = new QFormLayout(paperGroup);
  paperForm->addRow(QStringLiteral("&Size:"), m_paper);

  auto* orientation = new QGroupBox(QStringLiteral("Orientation"), this);
  m_portrait = new QRadioButton(QStringLiteral("P&ortrait"), orientation);
  m_landscape = new QRadioButton(QStringLiteral("L&andscape"), orientation);
  (page.orientation() == QPageLayout::Landscape ? m_landscape : m_portrait)->setChecked(true);
  auto* radios = new QHBoxLayout(orientation);
  radios->addWidget(m_portrait);
  radios->addWidget(m_landscape);

  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  for (QAbstractButton* button : box->buttons()) button->setIcon(QIcon());
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(paperGroup);
  layout->addWidget(orientation);
  layout->addWidget(box);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void CPageSetupDlg::accept() {
  const auto id = static_cast<QPageSize::PageSizeId>(m_paper->currentData().toInt());
  m_printer.setPageSize(QPageSize(id));
  m_printer.setPageOrientation(m_landscape->isChecked() ? QPageLayout::Landscape
                                                         : QPageLayout::Portrait);
  FitReportPage(m_printer);
  QDialog::accept();
}

}  // namespace ql

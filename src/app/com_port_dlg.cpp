#include "app/com_port_dlg.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/dialog_frame.h"

namespace ql {

CComPortDlg::CComPortDlg(const QStringList& devices, QWidget* parent) : QDialog(parent) {
  UseDialogFrame(*this);
  setWindowTitle(QStringLiteral("COM PORT SET"));
  setObjectName(QStringLiteral("comPortDlg"));

  auto* group = new QGroupBox(QStringLiteral("COM  &PORT"), this);
  auto* grid = new QGridLayout(group);
  grid->setHorizontalSpacing(18);
  // Exclusive by hand: no button is checked when the stored port is not
  // one of the four, as with automatic radio buttons.
  auto* buttons = new QButtonGroup(this);
  for (int i = 0; i < kPorts; ++i) {
    auto* radio = new QRadioButton(QStringLiteral("COM&%1").arg(i + 1), group);
    radio->setObjectName(QStringLiteral("radio%1").arg(kRadioIds[static_cast<std::size_t>(i)]));
    const QString device = i < devices.size() ? devices[i] : QString();
    auto* label = new QLabel(device.isEmpty() ? QStringLiteral("(no device)") : device, group);
    label->setEnabled(!device.isEmpty());
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(radio, i, 0);
    grid->addWidget(label, i, 1);
    buttons->addButton(radio, i);
    m_radio[static_cast<std::size_t>(i)] = radio;
    m_device[static_cast<std::size_t>(i)] = label;
  }
  connect(buttons, &QButtonGroup::idClicked, this, [this](int id) { m_nSelPort = id; });

  auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  for (QAbstractButton* button : box->buttons()) button->setIcon(QIcon());
  connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(group);
  layout->addWidget(box);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

int CComPortDlg::exec() {
  OnInitDialog();
  return QDialog::exec();
}

void CComPortDlg::OnInitDialog() {
  auto* group = m_radio[0]->group();
  group->setExclusive(false);
  for (int i = 0; i < kPorts; ++i)
    m_radio[static_cast<std::size_t>(i)]->setChecked(i == m_nSelPort);
  group->setExclusive(true);
}

}  // namespace ql

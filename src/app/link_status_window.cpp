#include "app/link_status_window.h"

#include <QFormLayout>
#include <QLabel>

#include <chrono>

#include "app/dialog_frame.h"
#include "app/measuring_window.h"

namespace ql {

LinkStatusWindow::LinkStatusWindow(MeasuringWindow& window, QWidget* parent)
    : QDialog(parent), window_(window) {
  UseDialogFrame(*this);
  setObjectName(QStringLiteral("linkStatus"));
  setWindowTitle(QStringLiteral("Link Status"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QFormLayout(this);
  port_ = new QLabel(this);
  port_->setObjectName(QStringLiteral("linkStatus_port"));
  layout->addRow(QStringLiteral("Port"), port_);
  for (const LinkStatusField& field : LinkStatusFields(LinkStatus{})) {
    auto* value = new QLabel(this);
    value->setObjectName(QStringLiteral("linkStatus_%1").arg(QString::fromLatin1(field.key)));
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    value->setMinimumWidth(value->fontMetrics().horizontalAdvance(QStringLiteral("000000000000")));
    layout->addRow(QString::fromLatin1(field.label), value);
    values_[field.key] = value;
  }
  layout->setSizeConstraint(QLayout::SetFixedSize);
  connect(&window_, &MeasuringWindow::ticked, this, &LinkStatusWindow::Update);
  Update();
}

QString LinkStatusWindow::Value(const std::string& key) const {
  const auto it = values_.find(key);
  return it == values_.end() ? QString() : it->second->text();
}

void LinkStatusWindow::Update() {
  const CComQV7300& link = window_.View().Link();
  const QString device = QString::fromStdString(window_.DevicePath(link.DeviceName()));
  const QString port = link.DeviceName().empty()
                           ? QStringLiteral("not opened yet")
                           : QString::fromStdString(link.DeviceName()) + QStringLiteral(" ") +
                                 device + (link.LineLost() ? QStringLiteral(" (lost)") : QString());
  if (port_->text() != port) port_->setText(port);
  const LinkStatus status = ReadLinkStatus(link, age_, std::chrono::steady_clock::now());
  for (const LinkStatusField& field : LinkStatusFields(status)) {
    QLabel* label = values_[field.key];
    const QString text = QString::fromStdString(field.value);
    if (label->text() != text) label->setText(text);
  }
}

}  // namespace ql

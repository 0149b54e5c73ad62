#include "app/about_box.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialog_frame.h"
#include "app/toolbar_icons.h"

namespace ql {

CAboutBox::CAboutBox(QWidget* parent) : QDialog(parent) {
  UseDialogFrame(*this);
  setWindowTitle(QStringLiteral("About..."));
  setObjectName(QStringLiteral("aboutBox"));

  auto* icon = new QLabel(this);
  icon->setPixmap(AppIcon().pixmap(48, 48));
  auto* text = new QLabel(QString::fromLatin1(kVersionText), this);
  text->setObjectName(QStringLiteral("versionText"));
  text->setMinimumWidth(200);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  buttons->button(QDialogButtonBox::Ok)->setIcon(QIcon());
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

  auto* row = new QHBoxLayout;
  row->addWidget(icon, 0, Qt::AlignTop);
  row->addSpacing(16);
  row->addWidget(text, 1, Qt::AlignVCenter);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(20, 20, 20, 14);
  layout->addLayout(row);
  layout->addSpacing(12);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace ql

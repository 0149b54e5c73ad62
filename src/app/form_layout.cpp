// The controls of the measuring window's form, placed as its template
// gives them in dialog units, with the colours of the form: the list of
// readings black on cyan, the meter panel and its reading fields black on
// green, everything else black on the white of the program's dialogs.

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "app/dialog_units.h"
#include "app/meter_panel.h"
#include "app/qarn_form.h"
#include "app/reading_list_view.h"
#include "graph/canvas.h"
#include "qtsupport/painter_canvas.h"
#include "qtsupport/render.h"
#include "run/ids.h"

namespace ql {
namespace {

enum class Kind { kStatic, kGroup, kButton };

struct ControlLayout {
  int id;
  Kind kind;
  const char* caption;
  int x, y, w, h;  // dialog units
  Qt::Alignment align = Qt::AlignLeft | Qt::AlignTop;
  bool onPanel = false;  // a reading field lying on the meter panel
  bool enabled = true;
};

constexpr Qt::Alignment kCentred = Qt::AlignHCenter | Qt::AlignTop;

// In creation order: a group box comes before the texts inside it, so they
// lie above it.
const ControlLayout kControls[] = {
    {ctl::kReading, Kind::kStatic, "", 99, 47, 152, 47, Qt::AlignLeft | Qt::AlignVCenter, true},
    {ctl::kField6, Kind::kStatic, "", 143, 16, 106, 21, Qt::AlignRight | Qt::AlignTop, true},
    {ctl::kPrefix, Kind::kStatic, "", 256, 44, 45, 21, Qt::AlignLeft | Qt::AlignTop, true},
    {ctl::kUnit, Kind::kStatic, "", 256, 65, 80, 28, Qt::AlignLeft | Qt::AlignTop, true},
    {ctl::kField4, Kind::kStatic, "", 251, 16, 57, 21, Qt::AlignLeft | Qt::AlignTop, true},
    {ctl::kRelButton, Kind::kButton, "REL", 91, 120, 49, 15},
    {ctl::kPeakButton, Kind::kButton, "P-H", 161, 120, 49, 15},
    {ctl::kMinMaxButton, Kind::kButton, "M/M", 232, 120, 49, 15},
    {ctl::kDbButton, Kind::kButton, "dB", 301, 120, 49, 15},
    {ctl::kRelGroup, Kind::kGroup, "REL REFERENCE", 5, 6, 81, 24, {}, false, false},
    {ctl::kRelRefText, Kind::kStatic, "", 12, 16, 68, 8, kCentred},
    {ctl::kDbGroup, Kind::kGroup, "dB REFERENCE", 5, 38, 81, 23, {}, false, false},
    {ctl::kDbRefText, Kind::kStatic, "", 16, 49, 58, 8, kCentred},
    {ctl::kStatGroup, Kind::kGroup, "PEAK HOLD", 5, 72, 81, 64, {}, false, false},
    {ctl::kPeakMax, Kind::kStatic, "", 10, 89, 72, 8},
    {ctl::kPeakMin, Kind::kStatic, "", 10, 115, 72, 8},
    {ctl::kMinMaxMax, Kind::kStatic, "", 9, 91, 73, 8},
    {ctl::kMinMaxAvg, Kind::kStatic, "", 10, 107, 72, 8},
    {ctl::kMinMaxMin, Kind::kStatic, "", 9, 121, 72, 8},
    {ctl::kTimeHeader, Kind::kButton, "Time", 6, 140, 61, 14},
    {ctl::kValueHeader, Kind::kButton, "Measured Value / Range", 67, 140, 284, 14},
};

constexpr int kFormWidth = 354;  // dialog units
constexpr int kPanelX = 90, kPanelY = 3, kPanelW = 261, kPanelH = 116;
constexpr int kListX = 6, kListY = 153, kListW = 344, kListH = 97;

// Texts are black while enabled; disabled ones keep the style's disabled
// colour, so a box of a mode that is off looks off.
void Paint(QWidget& widget, const QColor& background) {
  QPalette palette = widget.palette();
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::Base, background);
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::WindowText, Qt::black);
    palette.setColor(group, QPalette::Text, Qt::black);
  }
  widget.setPalette(palette);
  widget.setAutoFillBackground(true);
}

bool IsModeButton(int id) {
  return id == ctl::kRelButton || id == ctl::kPeakButton || id == ctl::kMinMaxButton ||
         id == ctl::kDbButton;
}

}  // namespace

void QarnForm::BuildControls() {
  // The template's bottom margin under the list gives way to the room the
  // window has, so a 640 x 480 frame shows the whole form without scrolling.
  setMinimumSize(DialogX(kFormWidth), DialogY(kListY + kListH));
  QFont dialogFont;
  dialogFont.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"),
                          QStringLiteral("DejaVu Sans")});
  dialogFont.setPixelSize(11);
  setFont(dialogFont);
  Paint(*this, Qt::white);

  // The panel's surface is exactly the drawings' 454 x 173 pixels, framed,
  // at the top left of its template place, whose last rows stay the form's.
  const QRect panelRect(DialogRect(kPanelX, kPanelY, kPanelW, kPanelH).topLeft(),
                        QSize(kPanelWidth, kPanelHeight) + QSize(2, 2));
  panel_ = new MeterPanel(QSize(kPanelWidth, kPanelHeight), this);
  panel_->setGeometry(panelRect);
  panel_->setObjectName(QStringLiteral("control%1").arg(ctl::kPanel));
  controls_[ctl::kPanel] = panel_;

  for (const ControlLayout& c : kControls) {
    const QString caption = QString::fromLatin1(c.caption);
    QRect rect = DialogRect(c.x, c.y, c.w, c.h);
    QWidget* widget = nullptr;
    switch (c.kind) {
      case Kind::kStatic: {
        auto* label = new QLabel(c.onPanel ? static_cast<QWidget*>(panel_) : this);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment(c.align);
        if (c.onPanel) {
          Paint(*label, ToQColor(kGreen));
          rect.translate(-panelRect.topLeft());
        }
        widget = label;
        break;
      }
      case Kind::kGroup:
        widget = new QGroupBox(caption, this);
        break;
      case Kind::kButton: {
        auto* button = new QPushButton(caption, this);
        button->setAutoDefault(false);
        const int id = c.id;
        // Shown pressed while its mode is on; the view decides (ShowModes).
        button->setCheckable(IsModeButton(id));
        if (id == ctl::kTimeHeader || id == ctl::kValueHeader) {
          button->setFocusPolicy(Qt::NoFocus);
        } else {
          connect(button, &QPushButton::clicked, this, [this, id] { emit buttonCommand(id); });
        }
        widget = button;
        break;
      }
    }
    widget->setObjectName(QStringLiteral("control%1").arg(c.id));
    widget->setGeometry(rect);
    widget->setEnabled(c.enabled);
    controls_[c.id] = widget;
    texts_[c.id] = c.caption;
  }

  list_ = new ReadingListView(this);
  list_->setObjectName(QStringLiteral("control%1").arg(ctl::kList));
  list_->setGeometry(DialogRect(kListX, kListY, kListW, kListH));
  list_->setFrameStyle(QFrame::Box | QFrame::Plain);
  Paint(*list_, ToQColor(kCyan));
  QPalette listPalette = list_->palette();
  listPalette.setColor(QPalette::Highlight, QColor(0, 0, 128));
  listPalette.setColor(QPalette::HighlightedText, Qt::white);
  list_->setPalette(listPalette);
  controls_[ctl::kList] = list_;
}

void QarnForm::ShowModes(const std::function<bool(int)>& isOn) {
  for (const ControlLayout& c : kControls) {
    if (!IsModeButton(c.id)) continue;
    if (auto* button = qobject_cast<QPushButton*>(Control(c.id))) button->setChecked(isOn(c.id));
  }
}

}  // namespace ql

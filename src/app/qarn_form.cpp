#include "app/qarn_form.h"

#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include "app/dialogs.h"
#include "app/meter_panel.h"
#include "app/reading_list_view.h"
#include "qtsupport/painter_canvas.h"
#include "qtsupport/text_edge.h"
#include "run/ids.h"

namespace ql {

QarnForm::QarnForm(Dialogs& dialogs, PaneSink& panes, DeviceList devices, QWidget* parent)
    : QWidget(parent), dialogs_(dialogs), panes_(panes), devices_(std::move(devices)) {
  BuildControls();
  connect(&timer_, &QTimer::timeout, this, &QarnForm::timerTick);
}

QarnForm::~QarnForm() { CloseCanvas(); }

QWidget* QarnForm::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

const FontDesc* QarnForm::ControlFont(int id) const {
  const auto it = controlFonts_.find(id);
  return it == controlFonts_.end() ? nullptr : &it->second;
}

void QarnForm::SetControlText(int id, std::string_view text) {
  QWidget* widget = Control(id);
  if (!widget) return;
  std::string& stored = texts_[id];
  if (stored == text) return;
  stored.assign(text);
  const QString shown = FromLatin1(text);
  if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(shown);
  } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
    group->setTitle(shown);
  } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
    button->setText(shown);
  }
}

std::string QarnForm::ControlText(int id) const {
  const auto it = texts_.find(id);
  return it == texts_.end() ? std::string() : it->second;
}

void QarnForm::ShowControl(int id, bool show) {
  if (QWidget* widget = Control(id)) widget->setVisible(show);
}

void QarnForm::EnableControl(int id, bool enable) {
  if (QWidget* widget = Control(id)) widget->setEnabled(enable);
}

const QFont& QarnForm::FontOf(const FontDesc& desc) {
  for (const auto& [known, font] : fonts_) {
    if (known == desc) return font;
  }
  fonts_.emplace_back(desc, FontFor(desc));
  return fonts_.back().second;
}

void QarnForm::SetControlFont(int id, const FontDesc& font) {
  QWidget* widget = Control(id);
  if (!widget) return;
  // The sampling cycle gives fonts before every sample; only a change
  // reaches the widget, which lays itself out again.
  const auto it = controlFonts_.find(id);
  if (it != controlFonts_.end() && it->second == font) return;
  controlFonts_[id] = font;
  widget->setFont(FontOf(font));
}

void QarnForm::ListReset() {
  pendingSelect_ = -1;
  list_->Clear();
}

void QarnForm::ListAdd(std::string_view /*line*/) { list_->RowAdded(); }

int QarnForm::ListCount() const { return list_->Count(); }

std::string QarnForm::ListText(int index) const { return std::string(list_->Line(index)); }

void QarnForm::ListSelect(int index) {
  if (index < 0 || index >= list_->Count()) return;
  if (!listRedraw_) {
    pendingSelect_ = index;
    return;
  }
  list_->Select(index);
}

void QarnForm::ListSetRedraw(bool on) {
  if (on == listRedraw_) return;
  listRedraw_ = on;
  list_->setUpdatesEnabled(on);
  if (on && pendingSelect_ >= 0) {
    const int index = pendingSelect_;
    pendingSelect_ = -1;
    ListSelect(index);
  }
}

void QarnForm::SetPaneText(int paneId, std::string_view text) {
  // The file name pane shows a file's title, which comes from a path in the
  // file system's encoding, not a text of the core.
  if (paneId == pane::kFileName) {
    fileTitle_ = QFile::decodeName(QByteArray(text.data(), qsizetype(text.size())));
    panes_.SetPaneText(paneId, fileTitle_);
  } else {
    panes_.SetPaneText(paneId, FromLatin1(text));
  }
}

void QarnForm::SetFilePath(std::string_view path) {
  panes_.SetPaneToolTip(pane::kFileName,
                        QFile::decodeName(QByteArray(path.data(), qsizetype(path.size()))));
}

void QarnForm::MessageBox(std::string_view text, std::string_view detail) {
  dialogs_.Message(window(), FromLatin1(text), FromLatin1(detail));
}

Canvas* QarnForm::PanelCanvas() {
  if (canvasDepth_ < 0) {
    canvasDepth_ = handlerDepth_;
    panel_->Begin();
    // Asked for outside a handler: close it once the event loop comes round.
    if (handlerDepth_ == 0) {
      QTimer::singleShot(0, this, [this] {
        if (handlerDepth_ == 0) CloseCanvas();
      });
    }
  }
  return panel_->Current();
}

void QarnForm::EndHandler() {
  --handlerDepth_;
  // A handler that ran inside another one's modal dialog (a tick, say)
  // shows its drawing when it returns, not when the dialog closes.
  if (canvasDepth_ > handlerDepth_) CloseCanvas();
}

void QarnForm::CloseCanvas() {
  if (canvasDepth_ < 0) return;
  canvasDepth_ = -1;
  panel_->End();
}

void QarnForm::InvalidateView() {
  update();
  ScheduleDraw();
}

void QarnForm::ScheduleDraw() {
  if (drawPending_) return;
  drawPending_ = true;
  QTimer::singleShot(0, this, [this] {
    drawPending_ = false;
    emit drawRequested();
  });
}

void QarnForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  ScheduleDraw();
}

void QarnForm::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  ScheduleDraw();
}

bool QarnForm::StartTimer(int /*id*/, int periodMs) {
  timer_.start(periodMs);
  return timer_.isActive();
}

void QarnForm::ShowFrameMaximized() { emit maximizeRequested(); }

bool QarnForm::RunPortDialog(int& selPort) {
  return dialogs_.PortDialog(window(), selPort, devices_ ? devices_() : QStringList());
}

namespace {

// Paths travel through the core as the file system's bytes.
std::optional<std::string> PathBytes(const std::optional<QString>& path) {
  if (!path) return std::nullopt;
  const QByteArray bytes = QFile::encodeName(*path);
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

std::optional<std::string> QarnForm::OpenFileDialog(const FileDialogOptions& options) {
  return PathBytes(dialogs_.OpenFile(window(), options));
}

std::optional<std::string> QarnForm::SaveFileDialog(const FileDialogOptions& options) {
  return PathBytes(dialogs_.SaveFile(window(), options));
}

}  // namespace ql

#include "app/meter_panel.h"

#include "qtsupport/painter_canvas.h"

namespace ql {

MeterPanel::MeterPanel(QSize inside, QWidget* parent)
    : QFrame(parent), picture_(inside, QImage::Format_RGB32) {
  setFrameStyle(QFrame::Box | QFrame::Plain);
  setLineWidth(1);
  setAttribute(Qt::WA_OpaquePaintEvent);
  // Until the view first draws, the panel shows its colour.
  picture_.fill(ToQColor(kGreen));
}

MeterPanel::~MeterPanel() {
  canvas_.reset();
  if (painter_.isActive()) painter_.end();
}

Canvas* MeterPanel::Begin() {
  painter_.begin(&picture_);
  canvas_ = std::make_unique<PainterCanvas>(painter_);
  return canvas_.get();
}

void MeterPanel::End() {
  canvas_.reset();
  painter_.end();
  update(contentsRect());
}

Canvas* MeterPanel::Current() const { return canvas_.get(); }

void MeterPanel::paintEvent(QPaintEvent* /*event*/) {
  QPainter p(this);
  const QRect inside = contentsRect();
  p.drawImage(inside.topLeft(), picture_, QRect(QPoint(0, 0), inside.size()));
  drawFrame(&p);
}

}  // namespace ql

#pragma once
// The meter panel (control 1017): a framed area whose inside is a picture
// the view draws into. The picture keeps what was drawn until the view draws
// again, and every repaint of the panel only shows it; the reading fields
// 1001 .. 1005 are child labels lying on it.
//
// Drawing: Begin() opens a Canvas on the picture in panel pixels; End()
// closes it and asks for a repaint, so a handler that draws in several steps
// repaints once.

#include <QFrame>
#include <QImage>
#include <QPainter>

#include <memory>

#include "graph/canvas.h"

namespace ql {

class PainterCanvas;

class MeterPanel : public QFrame {
  Q_OBJECT
 public:
  // `inside` is the size of the drawing area in pixels.
  MeterPanel(QSize inside, QWidget* parent);
  ~MeterPanel() override;

  // REQUIRES: no canvas is open.
  Canvas* Begin();
  // REQUIRES: a canvas is open.
  void End();
  // The open canvas, or nullptr.
  Canvas* Current() const;

  const QImage& Picture() const { return picture_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  QPainter painter_;
  std::unique_ptr<PainterCanvas> canvas_;
};

}  // namespace ql

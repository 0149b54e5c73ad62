#include "app/toolbar_icons.h"

#include <QPainter>
#include <QPixmap>
#include <QPolygon>

namespace ql {
namespace {

// The classic sixteen-colour palette, the colours the pictures use.
const QColor kInk(0, 0, 0);
const QColor kDarkGrey(128, 128, 128);
const QColor kLightGrey(192, 192, 192);
const QColor kWhite(255, 255, 255);
const QColor kYellow(255, 255, 0);
const QColor kOlive(128, 128, 0);
const QColor kNavy(0, 0, 128);
const QColor kBlue(0, 0, 255);
const QColor kGreen(0, 128, 0);
const QColor kLime(0, 255, 0);
const QColor kMaroon(128, 0, 0);
const QColor kRed(255, 0, 0);

void Pixel(QPainter& p, int x, int y, const QColor& c) { p.fillRect(x, y, 1, 1, c); }

// A rectangle with a one-pixel outline, covering columns x .. x + w - 1.
void Box(QPainter& p, int x, int y, int w, int h, const QColor& fill, const QColor& edge) {
  p.fillRect(x, y, w, h, edge);
  if (w > 2 && h > 2) p.fillRect(x + 1, y + 1, w - 2, h - 2, fill);
}

void Polygon(QPainter& p, std::initializer_list<QPoint> points, const QColor& fill,
             const QColor& edge) {
  p.setPen(edge);
  p.setBrush(fill);
  p.drawPolygon(QPolygon(QList<QPoint>(points)));
}

void DrawOpen(QPainter& p) {
  // The back of the folder with its tab, a sheet inside, the open flap.
  Polygon(p, {{1, 3}, {5, 3}, {6, 4}, {12, 4}, {12, 13}, {1, 13}}, kYellow, kInk);
  p.fillRect(2, 5, 9, 1, kWhite);
  Polygon(p, {{1, 13}, {4, 7}, {15, 7}, {12, 13}}, kOlive, kInk);
  p.fillRect(5, 8, 8, 1, kYellow);
  // The curved arrow of opening.
  p.setPen(kInk);
  p.drawLine(10, 1, 12, 0);
  p.drawLine(12, 0, 14, 1);
  p.drawLine(14, 1, 14, 3);
  Pixel(p, 13, 3, kInk);
  Pixel(p, 15, 3, kInk);
}

void DrawSave(QPainter& p) {
  // A diskette: body, label, shutter with its hole.
  Box(p, 1, 1, 14, 14, kNavy, kInk);
  p.fillRect(4, 2, 8, 6, kWhite);
  p.fillRect(5, 3, 6, 1, kLightGrey);
  p.fillRect(5, 5, 6, 1, kLightGrey);
  p.fillRect(4, 10, 8, 4, kLightGrey);
  p.fillRect(9, 11, 2, 2, kNavy);
  Pixel(p, 2, 13, kBlue);
  Pixel(p, 13, 13, kBlue);
}

void DrawPrint(QPainter& p) {
  // Paper behind the printer, the printer body, the printed sheet.
  Box(p, 4, 0, 8, 6, kWhite, kInk);
  p.fillRect(5, 2, 6, 1, kDarkGrey);
  Polygon(p, {{0, 6}, {15, 6}, {15, 12}, {0, 12}}, kLightGrey, kInk);
  p.fillRect(1, 7, 14, 1, kWhite);
  Pixel(p, 12, 9, kLime);
  Pixel(p, 13, 9, kLime);
  p.fillRect(1, 11, 14, 1, kDarkGrey);
  Box(p, 3, 10, 10, 5, kWhite, kInk);
  p.fillRect(5, 12, 6, 1, kDarkGrey);
}

void DrawStart(QPainter& p) {
  // A green "play" triangle with a light edge for depth.
  Polygon(p, {{3, 1}, {13, 7}, {3, 13}}, kGreen, kInk);
  p.setPen(kLime);
  p.drawLine(4, 3, 4, 11);
  p.drawLine(4, 3, 10, 7);
}

void DrawStop(QPainter& p) {
  Box(p, 2, 2, 11, 11, kRed, kInk);
  p.fillRect(3, 3, 9, 1, QColor(255, 128, 128));
  p.fillRect(3, 3, 1, 9, QColor(255, 128, 128));
  p.fillRect(4, 11, 8, 1, kMaroon);
  p.fillRect(11, 4, 1, 7, kMaroon);
}

void DrawPause(QPainter& p) {
  for (int x : {3, 9}) {
    Box(p, x, 2, 4, 11, kBlue, kInk);
    p.fillRect(x + 1, 3, 1, 9, QColor(128, 128, 255));
  }
}

void DrawMeter(QPainter& p, int size) {
  // A yellow hand-held meter: display with digits, dial, two sockets.
  const double s = size / 32.0;
  p.scale(s, s);
  p.setRenderHint(QPainter::Antialiasing, size > 16);
  p.setPen(QPen(kInk, 1.2));
  p.setBrush(QColor(250, 200, 20));
  p.drawRoundedRect(QRectF(5, 1, 22, 30), 4, 4);
  p.setBrush(QColor(60, 60, 60));
  p.drawRoundedRect(QRectF(7.5, 3.5, 17, 25), 2, 2);
  p.setBrush(QColor(170, 230, 170));
  p.drawRect(QRectF(9.5, 5.5, 13, 7));
  p.setPen(QPen(kInk, 1.4));
  p.drawLine(QPointF(12, 7.5), QPointF(12, 10.5));
  p.drawLine(QPointF(14.5, 7.5), QPointF(17, 7.5));
  p.drawLine(QPointF(17, 7.5), QPointF(17, 10.5));
  p.drawLine(QPointF(19.5, 7.5), QPointF(19.5, 10.5));
  p.setPen(QPen(kInk, 1));
  p.setBrush(QColor(200, 200, 200));
  p.drawEllipse(QPointF(16, 18.5), 4.5, 4.5);
  p.drawLine(QPointF(16, 18.5), QPointF(18.5, 15.5));
  p.setBrush(kRed);
  p.drawEllipse(QPointF(11.5, 25.5), 1.6, 1.6);
  p.setBrush(kInk);
  p.drawEllipse(QPointF(20.5, 25.5), 1.6, 1.6);
}

}  // namespace

QImage DrawToolbarImage(ToolbarImage which) {
  QImage image(kToolbarImageWidth, kToolbarImageHeight, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing, false);
  switch (which) {
    case ToolbarImage::kOpen:
      DrawOpen(p);
      break;
    case ToolbarImage::kSave:
      DrawSave(p);
      break;
    case ToolbarImage::kPrint:
      DrawPrint(p);
      break;
    case ToolbarImage::kStart:
      DrawStart(p);
      break;
    case ToolbarImage::kStop:
      DrawStop(p);
      break;
    case ToolbarImage::kPause:
      DrawPause(p);
      break;
  }
  return image;
}

QIcon ToolbarIcon(ToolbarImage which) { return QIcon(QPixmap::fromImage(DrawToolbarImage(which))); }

QIcon AppIcon() {
  QIcon icon;
  for (int size : {16, 32, 48}) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    DrawMeter(p, size);
    p.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

}  // namespace ql

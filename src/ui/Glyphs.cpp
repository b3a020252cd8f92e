#include "ui/Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <cmath>
#include <functional>

namespace ravelin {
namespace {

using Draw = std::function<void(QPainter&)>;

// Draws on a transparent square of size pixels; the drawing works in a 16 x 16 space.
QPixmap Paint(int size, const Draw& draw) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 16.0, size / 16.0);
  draw(painter);
  return pixmap;
}

QIcon MakeIcon(const Draw& draw) {
  QIcon icon;
  for (int size : {16, 24, 32}) icon.addPixmap(Paint(size, draw));
  return icon;
}

void DrawPage(QPainter& p, QRectF r) {
  p.setPen(QPen(QColor(70, 70, 70), 0.8));
  p.setBrush(QColor(255, 255, 250));
  p.drawRect(r);
  p.setPen(QPen(QColor(150, 150, 170), 0.7));
  for (double y = r.top() + 2.5; y < r.bottom() - 1.5; y += 2.0)
    p.drawLine(QPointF(r.left() + 1.5, y), QPointF(r.right() - 1.5, y));
}

void DrawProgram(QPainter& p) {
  // Ruled sheet behind a blue arrowhead outwork pointing up.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(236, 228, 200));
  p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 2.5, 2.5);
  QPolygonF outwork;
  outwork << QPointF(8, 1.8) << QPointF(14.2, 8.6) << QPointF(11.6, 14) << QPointF(4.4, 14)
          << QPointF(1.8, 8.6);
  p.setPen(QPen(QColor(20, 40, 90), 0.8));
  p.setBrush(QColor(40, 80, 160));
  p.drawPolygon(outwork);
  p.setPen(QPen(QColor(240, 240, 255), 1.0));
  p.drawLine(QPointF(6.2, 7.5), QPointF(9.8, 7.5));
  p.drawLine(QPointF(4.6, 9.8), QPointF(11.4, 9.8));
  p.drawLine(QPointF(5.4, 12.1), QPointF(10.6, 12.1));
}

void DrawFolder(QPainter& p) {
  p.setPen(QPen(QColor(120, 90, 10), 0.8));
  p.setBrush(QColor(240, 200, 70));
  QPainterPath path;
  path.moveTo(1, 4);
  path.lineTo(6, 4);
  path.lineTo(7.5, 5.5);
  path.lineTo(15, 5.5);
  path.lineTo(15, 13.5);
  path.lineTo(1, 13.5);
  path.closeSubpath();
  p.drawPath(path);
  p.setBrush(QColor(250, 220, 110));
  p.drawRect(QRectF(1, 7, 14, 6.5));
}

void DrawArrowDown(QPainter& p, QColor colour, QPointF tip) {
  QPolygonF arrow;
  arrow << tip << QPointF(tip.x() - 3.5, tip.y() - 3.5) << QPointF(tip.x() - 1.5, tip.y() - 3.5)
        << QPointF(tip.x() - 1.5, tip.y() - 7) << QPointF(tip.x() + 1.5, tip.y() - 7)
        << QPointF(tip.x() + 1.5, tip.y() - 3.5) << QPointF(tip.x() + 3.5, tip.y() - 3.5);
  p.setPen(QPen(colour.darker(150), 0.6));
  p.setBrush(colour);
  p.drawPolygon(arrow);
}

void DrawCross(QPainter& p, QRectF r, QColor colour, double width) {
  p.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap));
  p.drawLine(r.topLeft(), r.bottomRight());
  p.drawLine(r.topRight(), r.bottomLeft());
}

void DrawTick(QPainter& p) {
  p.setPen(QPen(QColor(20, 140, 40), 2.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.setBrush(Qt::NoBrush);
  QPolygonF tick;
  tick << QPointF(2.5, 8.5) << QPointF(6.5, 12.5) << QPointF(13.5, 3.5);
  p.drawPolyline(tick);
}

void DrawStar(QPainter& p, QPointF centre, double radius) {
  QPolygonF star;
  for (int i = 0; i < 10; ++i) {
    double r = (i % 2 == 0) ? radius : radius * 0.45;
    double angle = -3.14159265 / 2 + i * 3.14159265 / 5;
    star << QPointF(centre.x() + r * std::cos(angle), centre.y() + r * std::sin(angle));
  }
  p.setPen(QPen(QColor(160, 110, 0), 0.5));
  p.setBrush(QColor(255, 200, 0));
  p.drawPolygon(star);
}

}  // namespace

QPixmap ProgramPicture(int size) {
  return Paint(size, DrawProgram);
}

QIcon ProgramIcon() {
  QIcon icon;
  for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(ProgramPicture(size));
  return icon;
}

QIcon FolderGlyph() {
  return MakeIcon(DrawFolder);
}

QIcon OpenFolderGlyph() {
  return MakeIcon([](QPainter& p) {
    DrawFolder(p);
    p.setPen(QPen(QColor(120, 90, 10), 0.8));
    p.setBrush(QColor(255, 235, 150));
    QPolygonF flap;
    flap << QPointF(3, 8) << QPointF(16, 8) << QPointF(14, 13.5) << QPointF(1, 13.5);
    p.drawPolygon(flap);
  });
}

QIcon AppendGlyph() {
  return MakeIcon([](QPainter& p) {
    DrawPage(p, QRectF(2.5, 5.5, 11, 10));
    DrawArrowDown(p, QColor(30, 160, 50), QPointF(8, 10));
  });
}

QIcon OverwriteGlyph() {
  return MakeIcon([](QPainter& p) {
    DrawPage(p, QRectF(2.5, 1.5, 11, 13));
    DrawCross(p, QRectF(4.5, 4, 7, 8), QColor(200, 30, 30), 1.8);
  });
}

QIcon NewFileGlyph() {
  return MakeIcon([](QPainter& p) {
    DrawPage(p, QRectF(2.5, 3.5, 10, 12));
    DrawStar(p, QPointF(11.5, 4.5), 4);
  });
}

QIcon CancelGlyph() {
  return MakeIcon(
      [](QPainter& p) { DrawCross(p, QRectF(3.5, 3.5, 9, 9), QColor(200, 30, 30), 2.4); });
}

QIcon OkGlyph() {
  return MakeIcon(DrawTick);
}

QIcon ViewerGlyph() {
  return MakeIcon([](QPainter& p) {
    DrawPage(p, QRectF(1.5, 1.5, 10, 12));
    p.setPen(QPen(QColor(60, 60, 60), 1.8, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(11, 11), QPointF(14.5, 14.5));
    p.setPen(QPen(QColor(40, 40, 40), 1.0));
    p.setBrush(QColor(180, 220, 255, 200));
    p.drawEllipse(QPointF(8.5, 8.5), 3.5, 3.5);
  });
}

QIcon AssistGlyph() {
  return MakeIcon([](QPainter& p) {
    p.setPen(QPen(QColor(120, 30, 30), 0.6));
    p.setBrush(QColor(220, 60, 60));
    QPainterPath heart;
    heart.moveTo(8, 14);
    heart.cubicTo(0, 8, 2, 1.5, 8, 5);
    heart.cubicTo(14, 1.5, 16, 8, 8, 14);
    p.drawPath(heart);
  });
}

QPixmap BadgePicture(int size) {
  return Paint(size, [](QPainter& p) {
    p.setPen(QPen(QColor(20, 60, 20), 0.8));
    p.setBrush(QColor(70, 150, 70));
    p.drawEllipse(QPointF(8, 8), 7.2, 7.2);
    DrawStar(p, QPointF(8, 8.4), 5.2);
  });
}

}  // namespace ravelin

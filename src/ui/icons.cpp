// Every picture is drawn in a 48 x 48 logical box and scaled to each pixmap size, so all icons
// share one stroke weight (3 units: one pixel at 16 px) and one palette: slate outlines with a
// blue accent for the file actions, green for reading, orange for writing and red for leaving.
#include "ui/icons.h"

#include <QColor>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>
#include <functional>
#include <initializer_list>

namespace tq::ui {
namespace {

const QColor kSlate(0x37, 0x47, 0x4F);
const QColor kSlateSoft(0x78, 0x90, 0x9C);
const QColor kGrey(0xB0, 0xBE, 0xC5);
const QColor kGreyLight(0xEC, 0xEF, 0xF1);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kBlue(0x1E, 0x88, 0xE5);
const QColor kBlueLight(0x90, 0xCA, 0xF9);
const QColor kGreen(0x43, 0xA0, 0x47);
const QColor kOrange(0xFB, 0x8C, 0x00);
const QColor kRed(0xE5, 0x39, 0x35);

constexpr double kBox = 48.0;
constexpr double kStroke = 3.0;

using Drawing = std::function<void(QPainter&)>;

QPen Outline(const QColor& colour = kSlate, double width = kStroke) {
  return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void Shape(QPainter& p, const QPainterPath& path, const QColor& fill) {
  p.setPen(Outline());
  p.setBrush(fill);
  p.drawPath(path);
}

void Polygon(QPainter& p, std::initializer_list<QPointF> points, const QColor& fill) {
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points)));
  path.closeSubpath();
  Shape(p, path, fill);
}

void RoundedRect(QPainter& p, const QRectF& rect, double radius, const QColor& fill) {
  QPainterPath path;
  path.addRoundedRect(rect, radius, radius);
  Shape(p, path, fill);
}

void Line(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width = kStroke) {
  p.setPen(Outline(colour, width));
  p.drawLine(from, to);
}

void Dot(QPainter& p, QPointF centre, double radius, const QColor& colour) {
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  p.drawEllipse(centre, radius, radius);
}

// A horizontal arrow from x `from` to x `to` (pointing at `to`) along height `y`.
void Arrow(QPainter& p, double from, double to, double y, const QColor& fill) {
  const double direction = to > from ? 1.0 : -1.0;
  const double neck = to - direction * 11.0;
  Polygon(p,
          {{from, y - 4.0},
           {neck, y - 4.0},
           {neck, y - 10.0},
           {to, y},
           {neck, y + 10.0},
           {neck, y + 4.0},
           {from, y + 4.0}},
          fill);
}

// A handheld radio fitted into `box` (drawn in a 20 x 40 frame of its own): antenna and knob on
// top, body with display and speaker grille.
void Radio(QPainter& p, const QRectF& box) {
  p.save();
  p.translate(box.topLeft());
  p.scale(box.width() / 20.0, box.height() / 40.0);
  const double unit = 20.0 / box.width();  // keeps the stroke weight of the 48 box
  p.setPen(Outline(kSlate, kStroke * unit));
  p.setBrush(kSlate);
  p.drawRoundedRect(QRectF(3.0, 1.0, 3.5, 10.0), 1.0, 1.0);
  p.drawRect(QRectF(13.0, 5.5, 3.5, 5.0));
  p.setBrush(kSlateSoft);
  p.drawRoundedRect(QRectF(1.0, 10.0, 18.0, 29.0), 3.0, 3.0);
  p.setBrush(kGreyLight);
  p.drawRect(QRectF(4.0, 14.0, 12.0, 7.0));
  p.setPen(Outline(kSlate, 1.8 * unit));
  for (const double y : {26.0, 29.5, 33.0}) p.drawLine(QPointF(5.5, y), QPointF(14.5, y));
  p.restore();
}

void DrawFileNew(QPainter& p) {
  Polygon(p, {{9, 4}, {29, 4}, {38, 13}, {38, 44}, {9, 44}}, kPaper);
  Polygon(p, {{29, 4}, {29, 13}, {38, 13}}, kGreyLight);
  for (const double y : {21.0, 27.0}) Line(p, {15, y}, {31, y}, kGrey, 2.0);
  p.setPen(QPen(kPaper, 2.5));
  p.setBrush(kBlue);
  p.drawEllipse(QPointF(35, 35), 11, 11);
  Line(p, {35, 29}, {35, 41}, kPaper, 3.5);
  Line(p, {29, 35}, {41, 35}, kPaper, 3.5);
}

void DrawFileOpen(QPainter& p) {
  Polygon(p, {{4, 10}, {17, 10}, {21, 15}, {40, 15}, {40, 40}, {4, 40}}, kBlue);
  RoundedRect(p, QRectF(9, 18, 27, 14), 1.0, kPaper);
  Polygon(p, {{11, 24}, {46, 24}, {40, 40}, {4, 40}}, kBlueLight);
}

void DrawFileSave(QPainter& p) {
  Polygon(p, {{5, 5}, {37, 5}, {43, 11}, {43, 43}, {5, 43}}, kBlue);
  RoundedRect(p, QRectF(13, 5, 20, 12), 1.0, kGreyLight);
  p.setPen(Qt::NoPen);
  p.setBrush(kSlate);
  p.drawRect(QRectF(26, 8, 4, 6));
  RoundedRect(p, QRectF(11, 24, 26, 19), 1.0, kPaper);
  for (const double y : {30.0, 36.0}) Line(p, {16, y}, {32, y}, kGrey, 2.0);
}

void DrawRead(QPainter& p) {
  Radio(p, QRectF(25, 4, 20, 40));
  Arrow(p, 3, 24, 29, kGreen);
}

void DrawWrite(QPainter& p) {
  Radio(p, QRectF(3, 4, 20, 40));
  Arrow(p, 24, 45, 29, kOrange);
}

void DrawCom(QPainter& p) {
  RoundedRect(p, QRectF(2, 15, 44, 18), 3.0, kGrey);
  Dot(p, {7.5, 24}, 2.5, kSlate);
  Dot(p, {40.5, 24}, 2.5, kSlate);
  QPainterPath shell;
  shell.moveTo(11, 11);
  shell.lineTo(37, 11);
  shell.lineTo(33, 37);
  shell.lineTo(15, 37);
  shell.closeSubpath();
  Shape(p, shell, kGreyLight);
  for (int i = 0; i < 5; ++i) Dot(p, {16.0 + 4.0 * i, 19.5}, 1.8, kSlate);
  for (int i = 0; i < 4; ++i) Dot(p, {18.0 + 4.0 * i, 28.0}, 1.8, kSlate);
}

void DrawPrint(QPainter& p) {
  RoundedRect(p, QRectF(13, 4, 22, 14), 1.0, kPaper);
  RoundedRect(p, QRectF(4, 16, 40, 20), 4.0, kGrey);
  Dot(p, {37, 22}, 2.2, kBlue);
  Line(p, {10, 30}, {38, 30}, kSlate);
  RoundedRect(p, QRectF(12, 28, 24, 16), 1.0, kPaper);
  for (const double y : {34.0, 39.0}) Line(p, {16, y}, {32, y}, kGrey, 2.0);
}

void DrawHelp(QPainter& p) {
  p.setPen(Outline());
  p.setBrush(kBlue);
  p.drawEllipse(QPointF(24, 24), 20, 20);
  QPainterPath mark;
  mark.moveTo(17.5, 18.5);
  mark.cubicTo(17.5, 10.0, 30.5, 10.0, 30.5, 18.0);
  mark.cubicTo(30.5, 23.5, 24.0, 23.5, 24.0, 29.0);
  p.setPen(Outline(kPaper, 5.0));
  p.setBrush(Qt::NoBrush);
  p.drawPath(mark);
  Dot(p, {24, 36.5}, 3.0, kPaper);
}

void DrawExit(QPainter& p) {
  RoundedRect(p, QRectF(6, 4, 24, 40), 1.0, kGreyLight);
  Polygon(p, {{6, 4}, {20, 9}, {20, 44}, {6, 44}}, kGrey);
  Dot(p, {16.5, 26}, 2.0, kSlate);
  Arrow(p, 21, 46, 24, kRed);
}

void DrawApplication(QPainter& p) {
  Radio(p, QRectF(10, 7, 19, 38));
  p.setBrush(Qt::NoBrush);
  const QPointF tip(15.0, 8.0);
  for (const double radius : {10.0, 17.0}) {
    p.setPen(Outline(kBlue, 3.0));
    p.drawArc(QRectF(tip.x() - radius, tip.y() - radius + 8.0, 2 * radius, 2 * radius), 10 * 16,
              65 * 16);
  }
}

// The drawing in a transparent square of `size` pixels.
QImage Picture(const Drawing& draw, int size) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / kBox, size / kBox);
  draw(painter);
  painter.end();
  return image;
}

QIcon MakeIcon(const Drawing& draw, std::initializer_list<int> sizes) {
  QIcon icon;
  for (const int size : sizes) icon.addPixmap(QPixmap::fromImage(Picture(draw, size)));
  return icon;
}

}  // namespace

QIcon ToolbarIcon(const QString& key) {
  struct Entry {
    const char* key;
    void (*draw)(QPainter&);
  };
  static constexpr Entry kEntries[] = {
      {"FileNew", DrawFileNew}, {"FileOpen", DrawFileOpen}, {"FileSave", DrawFileSave},
      {"Read", DrawRead},       {"Write", DrawWrite},       {"Com", DrawCom},
      {"Print", DrawPrint},     {"Help", DrawHelp},         {"Exit", DrawExit},
  };
  for (const Entry& entry : kEntries) {
    if (key == QLatin1String(entry.key)) return MakeIcon(entry.draw, {16, 24, 32, 48});
  }
  return {};
}

QIcon ApplicationIcon() {
  return MakeIcon(DrawApplication, {16, 24, 32, 48, 64, 96});
}

QImage ApplicationImage(int size) {
  return Picture(DrawApplication, size);
}

}  // namespace tq::ui

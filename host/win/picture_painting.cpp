#include "host/win/picture_painting.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <algorithm>
#include <cmath>

namespace kova::win {
namespace {

QColor Colour(plots::Colour colour) {
  return QColor(colour.red, colour.green, colour.blue);
}

// The face the SVG asks for first, at the layout's height in picture units.
QFont TextFont(const plots::Text& text) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(text.size))));
  font.setBold(text.weight == plots::Weight::Bold);
  return font;
}

// How far left of its anchor a text starts.
double AnchorOffset(plots::Anchor anchor, double width) {
  switch (anchor) {
    case plots::Anchor::Start:
      return 0;
    case plots::Anchor::Middle:
      return width / 2;
    case plots::Anchor::End:
      return width;
  }
  return 0;
}

void PaintText(QPainter& surface, const plots::Text& text) {
  const QString string =
      QString::fromUtf8(text.text.data(), static_cast<qsizetype>(text.text.size()));
  const QFont font = TextFont(text);
  const double width = QFontMetricsF(font).horizontalAdvance(string);
  surface.save();
  surface.setFont(font);
  surface.setPen(Colour(text.colour));
  surface.translate(text.at.x, text.at.y);
  if (text.direction == plots::Direction::Upright) surface.rotate(-90);
  surface.drawText(QPointF(-AnchorOffset(text.anchor, width), 0), string);
  surface.restore();
}

}  // namespace

void PaintPicture(QPainter& surface, const plots::Picture& picture) {
  surface.save();
  surface.setRenderHint(QPainter::Antialiasing);
  surface.setRenderHint(QPainter::TextAntialiasing);
  surface.fillRect(QRectF(0, 0, picture.width, picture.height), Colour(picture.background));
  for (const plots::Group& group : picture.groups) {
    for (const plots::Box& box : group.boxes) {
      const QRectF rectangle(box.left, box.top, box.width, box.height);
      surface.fillRect(rectangle, Colour(box.fill));
      surface.setPen(QPen(Colour(box.edge), 1));
      surface.setBrush(Qt::NoBrush);
      surface.drawRect(rectangle);
    }
    for (const plots::Line& line : group.lines) {
      surface.setPen(QPen(Colour(line.colour), line.width, Qt::SolidLine, Qt::FlatCap));
      surface.drawLine(QPointF(line.from.x, line.from.y), QPointF(line.to.x, line.to.y));
    }
    for (const plots::Text& text : group.texts)
      PaintText(surface, text);
  }
  surface.restore();
}

void PaintPictureToFit(QPainter& surface, const plots::Picture& picture) {
  const QPaintDevice* device = surface.device();
  if (device == nullptr || picture.width <= 0 || picture.height <= 0) return;
  const double scale = std::min(device->width() / picture.width, device->height() / picture.height);
  surface.save();
  surface.translate((device->width() - picture.width * scale) / 2,
                    (device->height() - picture.height * scale) / 2);
  surface.scale(scale, scale);
  PaintPicture(surface, picture);
  surface.restore();
}

QSize LegibleSize(const plots::Picture& picture, double legiblePixels) {
  double smallest = 0;
  for (const plots::Group& group : picture.groups) {
    for (const plots::Text& text : group.texts) {
      if (text.size > 0 && (smallest == 0 || text.size < smallest)) smallest = text.size;
    }
  }
  if (smallest == 0) return {};
  const double scale = legiblePixels / smallest;
  return {static_cast<int>(std::ceil(picture.width * scale)),
          static_cast<int>(std::ceil(picture.height * scale))};
}

QImage PictureImage(const plots::Picture& picture, double scale) {
  QImage image(static_cast<int>(std::ceil(picture.width * scale)),
               static_cast<int>(std::ceil(picture.height * scale)), QImage::Format_RGB32);
  image.fill(Colour(picture.background));
  QPainter surface(&image);
  surface.scale(scale, scale);
  PaintPicture(surface, picture);
  return image;
}

}  // namespace kova::win

#include "host/win/program_icons.h"

#include <QPainter>
#include <QPixmap>

namespace kova::win {
namespace {

constexpr int kSize = 32;
const QColor kMeadow(0x2e, 0x7d, 0x32);

// A green square with a white K: the frame.
QPixmap FramePixmap() {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setBrush(kMeadow);
  painter.setPen(Qt::NoPen);
  painter.drawRoundedRect(QRectF(1, 1, kSize - 2, kSize - 2), 5, 5);
  QFont font(QStringLiteral("DejaVu Sans"), 16, QFont::Bold);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(0, 0, kSize, kSize), Qt::AlignCenter, QStringLiteral("K"));
  return pixmap;
}

// A white sheet with green lines of text: a child window.
QPixmap ChildPixmap() {
  QPixmap pixmap(kSize, kSize);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QPen(Qt::darkGray, 1));
  painter.setBrush(Qt::white);
  painter.drawRect(QRect(5, 2, kSize - 11, kSize - 5));
  painter.setPen(QPen(kMeadow, 2));
  for (int y = 8; y < kSize - 6; y += 5)
    painter.drawLine(9, y, kSize - 10, y);
  return pixmap;
}

}  // namespace

QIcon FrameIcon() {
  return QIcon(FramePixmap());
}

QIcon ChildIcon() {
  return QIcon(ChildPixmap());
}

}  // namespace kova::win

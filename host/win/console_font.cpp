#include "host/win/console_font.h"

#include <QFontMetrics>

namespace kova::win {

QFont ConsoleFont() {
  QFont font(QStringLiteral("DejaVu Sans Mono"), 10);
  font.setStyleHint(QFont::TypeWriter, QFont::PreferDefault);
  font.setFixedPitch(true);
  font.setHintingPreference(QFont::PreferFullHinting);
  font.setKerning(false);
  return font;
}

CellMetrics MeasureCells(const QFont& font) {
  const QFontMetrics metrics(font);
  return {metrics.horizontalAdvance(QLatin1Char('W')), metrics.height(), metrics.ascent()};
}

}  // namespace kova::win

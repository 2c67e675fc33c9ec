#include "host/win/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

namespace kova::win::clipboard {

bool PutText(std::string_view bytes) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard == nullptr) return false;
  clipboard->setText(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return true;
}

std::optional<std::string> TextToType() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
  if (data == nullptr || !data->hasText()) return std::nullopt;
  QString lines = data->text();
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
  lines.replace(QLatin1Char('\n'), QLatin1Char('\r'));
  const QByteArray bytes = lines.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace kova::win::clipboard

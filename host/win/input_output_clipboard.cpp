// The edit commands of the Input/Output window through the system clipboard, as plain text.
// A byte of the transcript is one character of the clipboard's text and back.
#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <string>

#include "host/win/input_output_widget.h"

namespace kova::win {
namespace {

// The clipboard's line breaks are each one Enter, as CR is: pasted lines are completed
// lines, whichever line end the text came with.
std::string PastedBytes(const QString& text) {
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
  lines.replace(QLatin1Char('\n'), QLatin1Char('\r'));
  const QByteArray bytes = lines.toLatin1();
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

bool InputOutputWidget::Copy() {
  const std::optional<std::string> selected = model_.SelectedText();
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (!selected || clipboard == nullptr) return false;
  clipboard->setText(
      QString::fromLatin1(selected->data(), static_cast<qsizetype>(selected->size())));
  return true;
}

bool InputOutputWidget::Cut() {
  if (!Copy()) return false;
  Delete();
  return true;
}

void InputOutputWidget::Delete() {
  model_.DeleteSelection();
  Refresh();
}

void InputOutputWidget::Paste() {
  const QClipboard* clipboard = QGuiApplication::clipboard();
  const QMimeData* data = clipboard != nullptr ? clipboard->mimeData() : nullptr;
  if (data == nullptr || !data->hasText()) return;
  model_.Paste(PastedBytes(data->text()));
  Refresh();
}

}  // namespace kova::win

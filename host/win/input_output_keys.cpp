// Keys in the Input/Output window: Enter, Backspace and TAB as characters, the movement and
// editing keys, and every other character typed, control characters included.
#include <QKeyEvent>
#include <QKeySequence>

#include "host/main_menu.h"
#include "host/win/input_output_widget.h"

namespace kova::win {
namespace {

// The accelerators belong to the frame; when their command is gray they do nothing rather
// than type a control character.
bool IsAccelerator(const QKeyEvent& event) {
  const QKeySequence pressed(event.keyCombination());
  for (const host::Accelerator& accelerator : host::MdiAccel()) {
    const QKeySequence keys(QString::fromLatin1(accelerator.keys.data(),
                                                static_cast<qsizetype>(accelerator.keys.size())));
    if (keys.matches(pressed) == QKeySequence::ExactMatch) return true;
  }
  return false;
}

}  // namespace

void InputOutputWidget::keyPressEvent(QKeyEvent* event) {
  // Alt combinations are the menus' mnemonics, never text.
  if (event->modifiers() & Qt::AltModifier || IsAccelerator(*event)) {
    event->ignore();
    return;
  }
  const int key = event->key();
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    model_.Character(host::kEnter);
  } else if (key == Qt::Key_Backspace) {
    model_.Character(host::kBackspace);
  } else if (key == Qt::Key_Tab) {
    model_.Character(host::kTab);
  } else if (!HandleEditKey(key)) {
    const QString text = event->text();
    if (text.isEmpty()) {
      event->ignore();
      return;
    }
    for (const QChar character : text) {
      const char16_t code = character.unicode();
      model_.Character(code <= 0xFF ? static_cast<unsigned char>(code) : '?');
    }
  }
  event->accept();
  Refresh();
}

bool InputOutputWidget::HandleEditKey(int key) {
  using host::EditKey;
  switch (key) {
    case Qt::Key_PageUp:
      model_.Key(EditKey::PageUp);
      return true;
    case Qt::Key_PageDown:
      model_.Key(EditKey::PageDown);
      return true;
    case Qt::Key_End:
      model_.Key(EditKey::End);
      return true;
    case Qt::Key_Home:
      model_.Key(EditKey::Home);
      return true;
    case Qt::Key_Up:
      model_.Key(EditKey::Up);
      return true;
    case Qt::Key_Down:
      model_.Key(EditKey::Down);
      return true;
    case Qt::Key_Left:
      model_.Key(EditKey::Left);
      return true;
    case Qt::Key_Right:
      model_.Key(EditKey::Right);
      return true;
    case Qt::Key_Insert:
      model_.Key(EditKey::Insert);
      return true;
    case Qt::Key_Delete:
      model_.Key(EditKey::Delete);
      return true;
    default:
      return false;
  }
}

// TAB is typed text here, not a move to the next widget.
bool InputOutputWidget::focusNextPrevChild(bool) {
  return false;
}

}  // namespace kova::win

#include "host/win/message_boxes.h"

#include <QMessageBox>

namespace kova::win {

host::SaveAnswer AskToSaveTranscript(QWidget* owner) {
  QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kCaption),
                  QStringLiteral("Save the Input/Output window?"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, owner);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::Cancel);
  switch (box.exec()) {
    case QMessageBox::Yes:
      return host::SaveAnswer::Yes;
    case QMessageBox::No:
      return host::SaveAnswer::No;
    default:
      return host::SaveAnswer::Cancel;
  }
}

void Warn(QWidget* owner, const QString& text) {
  QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kCaption), text, QMessageBox::Ok,
                  owner);
  box.exec();
}

bool AskYesNo(QWidget* owner, const QString& text) {
  QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kCaption), text,
                  QMessageBox::Yes | QMessageBox::No, owner);
  return box.exec() == QMessageBox::Yes;
}

}  // namespace kova::win

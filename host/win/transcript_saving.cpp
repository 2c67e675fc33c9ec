// Save and Save As of the transcript: the file dialog, the file, the window's new title and
// the warnings when the file cannot be written.
#include <QFileDialog>
#include <QMdiSubWindow>

#include "host/transcript_file.h"
#include "host/win/console_host.h"
#include "host/win/fixed_sub_window.h"
#include "host/win/input_output_widget.h"
#include "host/win/message_boxes.h"

namespace kova::win {
namespace {

// The Save As dialog, opening on the last name used; the chosen path, or nothing when the
// user cancels. Replacing an existing file is confirmed first.
std::optional<std::string> ChooseFileToSave(const std::string& lastName) {
  QFileDialog dialog;
  dialog.setObjectName(QStringLiteral("SaveAs"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  const QString textFiles = QStringLiteral("Text Files (*.txt)");
  dialog.setNameFilters({textFiles, QStringLiteral("All Files (*.*)")});
  dialog.selectNameFilter(textFiles);
  dialog.setDefaultSuffix(QStringLiteral("txt"));
  if (!lastName.empty()) dialog.selectFile(QString::fromStdString(lastName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front().toStdString();
}

}  // namespace

void ConsoleHost::Save() {
  if (saveFileName_.empty()) {
    SaveAs();
    return;
  }
  SaveTo(saveFileName_);
}

bool ConsoleHost::SaveAs() {
  const std::optional<std::string> chosen = ChooseFileToSave(saveFileName_);
  RestoreFocus();
  if (!chosen) return false;
  saveFileName_ = *chosen;
  saveFileTitle_ = host::FileTitle(saveFileName_);
  inputOutputWindow_->setWindowTitle(QString::fromStdString(saveFileTitle_));
  SaveTo(saveFileName_);
  return true;
}

// A failed save leaves the transcript unsaved, so that closing still offers to save it.
void ConsoleHost::SaveTo(const std::string& path) {
  switch (host::SaveTranscript(transcript_, path)) {
    case host::SaveOutcome::Saved:
      break;
    case host::SaveOutcome::CannotCreate:
      Warn(nullptr, QStringLiteral("Cannot create file"));
      break;
    case host::SaveOutcome::WriteFailed:
      Warn(nullptr, QStringLiteral("I/O error while writing file"));
      break;
  }
  RestoreFocus();
}

// Yes to "Save the Input/Output window?": a failed or cancelled save does not stop the close.
void ConsoleHost::SaveBeforeClosing(host::SaveBeforeClose save) {
  switch (save) {
    case host::SaveBeforeClose::None:
      return;
    case host::SaveBeforeClose::ToSavedFile:
      SaveTo(saveFileName_);
      return;
    case host::SaveBeforeClose::ChooseFile:
      SaveAs();
      return;
  }
}

}  // namespace kova::win

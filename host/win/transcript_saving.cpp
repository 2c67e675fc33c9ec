#include "host/win/transcript_saving.h"

#include <QFileDialog>
#include <QMdiSubWindow>
#include <optional>

#include "host/win/frame_window.h"
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

TranscriptSaving::TranscriptSaving(FrameWindow& frame, host::Transcript& transcript)
    : frame_(frame), transcript_(transcript) {}

void TranscriptSaving::Save() {
  if (fileName_.empty()) {
    SaveAs();
    return;
  }
  SaveTo(fileName_);
}

void TranscriptSaving::SaveAs() {
  const std::optional<std::string> chosen = ChooseFileToSave(fileName_);
  frame_.FocusConsole();
  if (!chosen || SaveTo(*chosen) != host::SaveOutcome::Saved) return;
  fileName_ = *chosen;
  frame_.ConsoleWindow()->setWindowTitle(QString::fromStdString(host::FileTitle(fileName_)));
}

// A failed save leaves the transcript unsaved, so that closing still offers to save it.
host::SaveOutcome TranscriptSaving::SaveTo(const std::string& path) {
  const host::SaveOutcome outcome = host::SaveTranscript(transcript_, path);
  switch (outcome) {
    case host::SaveOutcome::Saved:
      break;
    case host::SaveOutcome::CannotCreate:
      Warn(nullptr, QStringLiteral("Cannot create file"));
      break;
    case host::SaveOutcome::WriteFailed:
      Warn(nullptr, QStringLiteral("I/O error while writing file"));
      break;
  }
  frame_.FocusConsole();
  return outcome;
}

void TranscriptSaving::SaveBeforeClosing(host::SaveBeforeClose save) {
  switch (save) {
    case host::SaveBeforeClose::None:
      return;
    case host::SaveBeforeClose::ToSavedFile:
      SaveTo(fileName_);
      return;
    case host::SaveBeforeClose::ChooseFile:
      SaveAs();
      return;
  }
}

}  // namespace kova::win

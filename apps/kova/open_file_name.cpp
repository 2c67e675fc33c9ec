#include "apps/kova/open_file_name.h"

#include <QDir>
#include <QFileDialog>
#include <optional>

#include "host/file_name_answer.h"
#include "host/win/frame_window.h"
#include "host/win/program_menu.h"
#include "host/win/program_services.h"

namespace kova::window {
namespace {

// The keyboard goes back to the Input/Output window once the dialog closes, chosen or not: the
// question still waits there when it is cancelled.
void OpenFileName() {
  win::FrameWindow& frame = win::Services().Frame();
  QFileDialog dialog(&frame);
  dialog.setObjectName(QStringLiteral("OpenFileName"));
  dialog.setWindowTitle(QStringLiteral("Open File Name"));
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setDirectory(QDir::current());
  dialog.setNameFilters(
      {QStringLiteral("Data Files (*.txt *.csv *.dat)"), QStringLiteral("All Files (*)")});
  const bool chosen = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
  frame.FocusConsole();
  if (!chosen) return;
  const QString file = QDir::cleanPath(dialog.selectedFiles().front());
  const QString folder = QDir::cleanPath(QDir::currentPath());
  win::Services().TypeLine(host::FileNameAnswer(folder.toStdString(), file.toStdString()));
}

}  // namespace

void AddOpenFileNameItem() {
  std::optional<win::ProgramMenu> file = win::ProgramMenu::Find(win::Services(), "File");
  if (!file) return;
  file->AddSeparator();
  file->AddItem("&Open File Name...\tCtrl+O", &OpenFileName);
}

}  // namespace kova::window

#include "host/win/print_command.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>
#include <filesystem>

#include "host/transcript_file.h"

#include "host/win/frame_window.h"
#include "host/win/message_boxes.h"
#include "host/win/transcript_saving.h"

namespace kova::win {
namespace {

constexpr int kHighestPage = 32767;

// The modeless "Printing..." box; Cancel, Enter and Esc all stop the job. It stands over the
// frame without belonging to it: a disabled frame would disable it too.
class PrintProgressBox : public QDialog {
 public:
  PrintProgressBox(QWidget* frame, bool& printContinue)
      : QDialog(nullptr, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("PrintProgress"));
    setWindowTitle(QString::fromLatin1(kCaption));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Printing..."), this));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setDefault(true);
    layout->addWidget(cancel);
    connect(cancel, &QPushButton::clicked, this, [&printContinue] { printContinue = false; });
    connect(this, &QDialog::rejected, this, [&printContinue] { printContinue = false; });
    adjustSize();
    move(frame->geometry().center() - rect().center());
  }
};

}  // namespace

PrintCommand::PrintCommand(FrameWindow& frame, const host::Transcript& transcript,
                           const TranscriptSaving& saving)
    : frame_(frame), transcript_(transcript), saving_(saving) {}

void PrintCommand::Print() {
  QPrinter printer;
  printer.setFromTo(1, 1);
  // Printing to a file proposes one named after the transcript, not the dialog's own choice
  // of the home folder; a printer of the system's stays the one the dialog starts on.
  // (A working folder that is gone leaves a bare name, which the dialog puts in the home
  // folder after all.)
  std::error_code noFolder;
  const std::string workingFolder = std::filesystem::current_path(noFolder).string();
  const QPrinter::OutputFormat format = printer.outputFormat();
  printer.setOutputFileName(
      QString::fromStdString(host::PdfFileFor(saving_.FileName(), workingFolder)));
  printer.setOutputFormat(format);
  QPrintDialog dialog(&printer, &frame_);
  dialog.setMinMax(1, kHighestPage);
  dialog.setOptions(QAbstractPrintDialog::PrintPageRange |
                    QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintToFile);
  const bool chosen = dialog.exec() == QDialog::Accepted;
  frame_.FocusConsole();
  if (!chosen) return;
  std::optional<host::PageRange> pages;
  if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
    pages = host::PageRange{printer.fromPage(), printer.toPage()};
  }
  // The copies are printed here, one after another, so the printer makes none itself.
  const int copies = printer.copyCount();
  printer.setCopyCount(1);
  PrintOn(printer, pages, copies);
}

PrintOutcome PrintCommand::PrintOn(QPrinter& printer, const std::optional<host::PageRange>& pages,
                                   int copies) {
  printContinue_ = true;
  PrintProgressBox progress(&frame_, printContinue_);
  progress.show();
  progress.activateWindow();
  frame_.setEnabled(false);
  const PrintOutcome outcome = PrintTranscript(transcript_, printer, pages, copies, [this] {
    QCoreApplication::processEvents();
    return printContinue_;
  });
  frame_.setEnabled(true);
  progress.hide();
  frame_.FocusConsole();
  return outcome;
}

}  // namespace kova::win

// File > Print: the print dialog, then the job with its "Printing..." box. While the job
// runs the frame is disabled and the only events handled are those the job lets through
// after every line, so the box's Cancel is heard.
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QPrintDialog>
#include <QPushButton>
#include <QVBoxLayout>

#include "host/win/console_host.h"
#include "host/win/frame_window.h"
#include "host/win/input_output_widget.h"
#include "host/win/message_boxes.h"
#include "host/win/transcript_printing.h"

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

void ConsoleHost::Print() {
  QPrinter printer;
  printer.setFromTo(1, 1);
  QPrintDialog dialog(&printer, frame_.get());
  dialog.setMinMax(1, kHighestPage);
  dialog.setOptions(QAbstractPrintDialog::PrintPageRange |
                    QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintToFile);
  const bool chosen = dialog.exec() == QDialog::Accepted;
  RestoreFocus();
  if (!chosen) return;
  std::optional<host::PageRange> pages;
  if (dialog.printRange() == QAbstractPrintDialog::PageRange) {
    pages = host::PageRange{printer.fromPage(), printer.toPage()};
  }
  // The copies are printed here, one after another, so the printer makes none itself.
  const int copies = printer.copyCount();
  printer.setCopyCount(1);
  PrintWithProgress(printer, pages, copies);
}

PrintOutcome ConsoleHost::PrintWithProgress(QPrinter& printer,
                                            const std::optional<host::PageRange>& pages,
                                            int copies) {
  printContinue_ = true;
  PrintProgressBox progress(frame_.get(), printContinue_);
  progress.show();
  progress.activateWindow();
  frame_->setEnabled(false);
  const PrintOutcome outcome = PrintTranscript(transcript_, printer, pages, copies, [this] {
    QCoreApplication::processEvents();
    return printContinue_;
  });
  frame_->setEnabled(true);
  progress.hide();
  RestoreFocus();
  return outcome;
}

}  // namespace kova::win

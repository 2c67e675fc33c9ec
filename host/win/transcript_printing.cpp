#include "host/win/transcript_printing.h"

#include <QFontMetrics>
#include <QPainter>

#include "host/win/console_font.h"

namespace kova::win {

PrintOutcome PrintTranscript(const host::Transcript& transcript, QPrinter& printer,
                             const std::optional<host::PageRange>& pages, int copies,
                             const std::function<bool()>& goOn) {
  PrintOutcome outcome;
  printer.setDocName(QString::fromLatin1(kPrintDocumentName));
  const QFont font = ConsoleFont();
  const QFontMetrics metrics(font, &printer);
  const int lineHeight = metrics.lineSpacing();
  const int pageHeight = printer.pageLayout().paintRectPixels(printer.resolution()).height();
  outcome.linesPerPage = host::LinesPerPage(pageHeight, lineHeight);
  if (copies <= 0) return outcome;

  const host::LineRange lines =
      host::LinesToPrint(transcript.LineCount(), outcome.linesPerPage, pages);
  const std::vector<host::LineRange> pagesOfCopy = host::PagesOfCopy(lines, outcome.linesPerPage);
  QPainter painter;
  if (!painter.begin(&printer)) return outcome;
  painter.setFont(font);
  bool firstPage = true;
  for (int copy = 0; copy < copies; ++copy) {
    for (const host::LineRange& page : pagesOfCopy) {
      if (!firstPage && !printer.newPage()) {
        printer.abort();
        return outcome;
      }
      firstPage = false;
      int row = 0;
      for (std::size_t line = page.first; line <= page.last; ++line, ++row) {
        const std::string_view text = transcript.Line(line - 1);
        painter.drawText(0, row * lineHeight + metrics.ascent(),
                         QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())));
        ++outcome.linesPrinted;
        if (!goOn()) {
          // A cancelled job is not ended: the pages so far are all it holds.
          printer.abort();
          painter.end();
          return outcome;
        }
      }
    }
  }
  outcome.completed = painter.end();
  return outcome;
}

}  // namespace kova::win

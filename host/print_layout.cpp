#include "host/print_layout.h"

#include <algorithm>

namespace kova::host {

int LinesPerPage(int pageHeight, int lineHeight) {
  if (lineHeight <= 0) return 1;
  return std::max(pageHeight / lineHeight, 1);
}

LineRange LinesToPrint(std::size_t lineCount, int linesPerPage,
                       const std::optional<PageRange>& pages) {
  if (!pages) return {1, lineCount};
  const auto perPage = static_cast<std::size_t>(linesPerPage);
  const auto from = static_cast<std::size_t>(std::max(pages->from, 1));
  const auto to = static_cast<std::size_t>(std::max(pages->to, 0));
  return {perPage * (from - 1) + 1, std::min(perPage * to, lineCount)};
}

std::vector<LineRange> PagesOfCopy(const LineRange& lines, int linesPerPage) {
  if (lines.Empty()) return {LineRange{}};
  const auto perPage = static_cast<std::size_t>(linesPerPage);
  std::vector<LineRange> pages;
  for (std::size_t first = lines.first; first <= lines.last; first += perPage) {
    pages.push_back({first, std::min(first + perPage - 1, lines.last)});
  }
  return pages;
}

}  // namespace kova::host

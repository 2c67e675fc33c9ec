// How the transcript is laid out on printed pages: as many lines to a page as its height
// holds, lines printed whole and unchanged, each copy starting on a new page. No header,
// footer, page number or margin of its own.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

namespace kova::host {

// The pages the user asked for, one-based and inclusive.
struct PageRange {
  int from = 1;
  int to = 1;
};

// Lines numbered from 1, inclusive; empty when first > last.
struct LineRange {
  std::size_t first = 1;
  std::size_t last = 0;

  bool Empty() const { return first > last; }
  std::size_t Count() const { return Empty() ? 0 : last - first + 1; }
  bool operator==(const LineRange&) const = default;
};

// Whole lines that fit a page; at least one, however tall a line is.
int LinesPerPage(int pageHeight, int lineHeight);

// All lines, or those of the chosen pages.
LineRange LinesToPrint(std::size_t lineCount, int linesPerPage,
                       const std::optional<PageRange>& pages);

// The pages of one copy, in order. A range that ends exactly at a page's end feeds no empty
// page after it; an empty range is one empty page.
std::vector<LineRange> PagesOfCopy(const LineRange& lines, int linesPerPage);

}  // namespace kova::host

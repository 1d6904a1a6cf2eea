#include "spreadsheet/paging.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace tavrin {

namespace {

constexpr double kPointsPerInch = 72.0;
constexpr double kMillimetre = kPointsPerInch / 25.4;
// Rounding slack, so 50 rows of 12.75 points fill 637.5 of 648 points exactly as reckoned.
constexpr double kSlack = 1e-9;

struct Paper {
  int code;
  double width;
  double height;
};

// The host's paper codes that files commonly carry; any other prints as Letter.
constexpr Paper kPapers[] = {
    {SheetLayout::kPaperLetter, 8.5 * kPointsPerInch, 11 * kPointsPerInch},
    {5, 8.5 * kPointsPerInch, 14 * kPointsPerInch},  // Legal
    {8, 297 * kMillimetre, 420 * kMillimetre},       // A3
    {SheetLayout::kPaperA4, 210 * kMillimetre, 297 * kMillimetre},
    {11, 148 * kMillimetre, 210 * kMillimetre},  // A5
    {13, 182 * kMillimetre, 257 * kMillimetre},  // B5 (JIS)
};

const Paper& PaperOf(int code) {
  for (const Paper& paper : kPapers) {
    if (paper.code == code) return paper;
  }
  return kPapers[0];
}

// Pages rows in runs: rows of one height and format fill a page together.
class Pager {
 public:
  explicit Pager(const PagingInput& input)
      : in_(input),
        scale_(std::max(input.layout->scale, 1) / 100.0),
        rowHeight_(input.defaultRowHeight * scale_),
        printable_(PrintableHeight(*input.layout)) {
    for (int r = in_.titleFirst; r <= in_.titleLast; ++r) titleHeight_ += Height(r);
    // Title rows that fill the page are not repeated: the page would hold nothing else.
    if (titleHeight_ >= printable_) titleHeight_ = 0;
  }

  std::vector<PageBreakPoint> Breaks() {
    std::vector<PageBreakPoint> breaks;
    const std::vector<int>& manual = in_.layout->manualRowBreaks;
    auto nextManual = std::upper_bound(manual.begin(), manual.end(), in_.firstRow);
    int top = in_.firstRow;
    while (true) {
      int limit = nextManual == manual.end() ? INT_MAX : *nextManual;
      int next = FillPage(top, std::min(limit, in_.lastRow + 1));
      if (next > in_.lastRow) break;
      bool isManual = next == limit;
      if (isManual) ++nextManual;
      breaks.push_back({next, isManual});
      top = next;
    }
    return breaks;
  }

 private:
  // The printed height of one row, and of the rows below it up to the returned row less one that
  // have the same.
  struct Stretch {
    double points;
    int end;
  };

  Stretch StretchAt(int row) const {
    Stretch stretch{rowHeight_, INT_MAX};
    const auto& heights = in_.rowHeights->Runs();
    size_t h = in_.rowHeights->RunFrom(row);
    if (h < heights.size()) {
      if (heights[h].first <= row) {
        stretch = {heights[h].value.points * scale_, heights[h].last + 1};
      } else {
        stretch.end = heights[h].first;
      }
    }
    const auto& formats = in_.layout->rowFormats.Runs();
    size_t f = in_.layout->rowFormats.RunFrom(row);
    if (f < formats.size()) {
      if (formats[f].first <= row) {
        if (formats[f].value.hidden) stretch.points = 0;
        stretch.end = std::min(stretch.end, formats[f].last + 1);
      } else {
        stretch.end = std::min(stretch.end, formats[f].first);
      }
    }
    return stretch;
  }

  double Height(int row) const { return StretchAt(row).points; }

  // The first row of the next page, for a page starting at top that must end before stop. A
  // page holds at least one printed row; until it does, used is 0. Hidden rows take no room, so
  // those after a full page stay with it.
  int FillPage(int top, int stop) const {
    double room = printable_ - (top > in_.titleLast ? titleHeight_ : 0.0);
    double used = 0;
    int row = top;
    while (row < stop) {
      Stretch stretch = StretchAt(row);
      int end = std::min(stretch.end, stop);
      if (stretch.points == 0) {
        row = end;
        continue;
      }
      if (used == 0) {
        // The page's first printed row goes on it, however tall.
        used = stretch.points;
        ++row;
      }
      double fit = std::floor((room - used) / stretch.points + kSlack);
      if (fit < end - row) return row + static_cast<int>(std::max(fit, 0.0));
      used += (end - row) * stretch.points;
      row = end;
    }
    return stop;
  }

  const PagingInput& in_;
  double scale_;
  double rowHeight_;
  double printable_;
  double titleHeight_ = 0;
};

}  // namespace

double PrintableHeight(const SheetLayout& layout) {
  const Paper& paper = PaperOf(layout.paperSize);
  double length = layout.orientation == PageOrientation::Portrait ? paper.height : paper.width;
  return length - (layout.margins.top + layout.margins.bottom) * kPointsPerInch;
}

std::vector<PageBreakPoint> ComputePageBreaks(const PagingInput& input) {
  if (input.lastRow < input.firstRow) return {};
  return Pager(input).Breaks();
}

}  // namespace tavrin

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

constexpr double kInch = kPointsPerInch;

// The host's paper codes and their sizes, width by height.
constexpr Paper kPapers[] = {
    {SheetLayout::kPaperLetter, 8.5 * kInch, 11 * kInch},
    {2, 8.5 * kInch, 11 * kInch},               // Letter Small
    {3, 11 * kInch, 17 * kInch},                // Tabloid
    {4, 17 * kInch, 11 * kInch},                // Ledger
    {5, 8.5 * kInch, 14 * kInch},               // Legal
    {6, 5.5 * kInch, 8.5 * kInch},              // Statement
    {7, 7.25 * kInch, 10.5 * kInch},            // Executive
    {8, 297 * kMillimetre, 420 * kMillimetre},  // A3
    {SheetLayout::kPaperA4, 210 * kMillimetre, 297 * kMillimetre},
    {10, 210 * kMillimetre, 297 * kMillimetre},  // A4 Small
    {11, 148 * kMillimetre, 210 * kMillimetre},  // A5
    {12, 257 * kMillimetre, 364 * kMillimetre},  // B4 (JIS)
    {13, 182 * kMillimetre, 257 * kMillimetre},  // B5 (JIS)
    {14, 8.5 * kInch, 13 * kInch},               // Folio
    {15, 215 * kMillimetre, 275 * kMillimetre},  // Quarto
    {16, 10 * kInch, 14 * kInch},                // 10x14
    {17, 11 * kInch, 17 * kInch},                // 11x17
    {18, 8.5 * kInch, 11 * kInch},               // Note
    {19, 3.875 * kInch, 8.875 * kInch},          // Envelope #9
    {20, 4.125 * kInch, 9.5 * kInch},            // Envelope #10
    {21, 4.5 * kInch, 10.375 * kInch},           // Envelope #11
    {22, 4.75 * kInch, 11 * kInch},              // Envelope #12
    {23, 5 * kInch, 11.5 * kInch},               // Envelope #14
    {24, 17 * kInch, 22 * kInch},                // C size sheet
    {25, 22 * kInch, 34 * kInch},                // D size sheet
    {26, 34 * kInch, 44 * kInch},                // E size sheet
    {27, 110 * kMillimetre, 220 * kMillimetre},  // Envelope DL
    {28, 162 * kMillimetre, 229 * kMillimetre},  // Envelope C5
    {29, 324 * kMillimetre, 458 * kMillimetre},  // Envelope C3
    {30, 229 * kMillimetre, 324 * kMillimetre},  // Envelope C4
    {31, 114 * kMillimetre, 162 * kMillimetre},  // Envelope C6
    {32, 114 * kMillimetre, 229 * kMillimetre},  // Envelope C65
    {33, 250 * kMillimetre, 353 * kMillimetre},  // Envelope B4
    {34, 176 * kMillimetre, 250 * kMillimetre},  // Envelope B5
    {35, 176 * kMillimetre, 125 * kMillimetre},  // Envelope B6
    {36, 110 * kMillimetre, 230 * kMillimetre},  // Envelope Italy
    {37, 3.875 * kInch, 7.5 * kInch},            // Envelope Monarch
    {38, 3.625 * kInch, 6.5 * kInch},            // Envelope 6 3/4
    {39, 14.875 * kInch, 11 * kInch},            // US Standard Fanfold
    {40, 8.5 * kInch, 12 * kInch},               // German Standard Fanfold
    {41, 8.5 * kInch, 13 * kInch},               // German Legal Fanfold
};

const Paper& PaperOf(int code, int defaultPaper) {
  if (code == SheetLayout::kPaperDefault) code = defaultPaper;
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
        scale_(std::max(input.scale, 1) / 100.0),
        rowHeight_(input.defaultRowHeight * scale_),
        printable_(PrintableHeight(*input.layout, input.defaultPaper)) {
    // Printed column headings take a row of the default height on every page.
    if (input.layout->printHeadings) printable_ -= rowHeight_;
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

double PrintableHeight(const SheetLayout& layout, int defaultPaper) {
  const Paper& paper = PaperOf(layout.paperSize, defaultPaper);
  double length = layout.orientation == PageOrientation::Portrait ? paper.height : paper.width;
  return length - (layout.margins.top + layout.margins.bottom) * kPointsPerInch;
}

double PrintableWidth(const SheetLayout& layout, int defaultPaper) {
  const Paper& paper = PaperOf(layout.paperSize, defaultPaper);
  double length = layout.orientation == PageOrientation::Portrait ? paper.width : paper.height;
  return length - (layout.margins.left + layout.margins.right) * kPointsPerInch;
}

int FitScale(const PagingInput& input, double columnsWidth) {
  const SheetLayout& layout = *input.layout;
  int scale = 100;
  if (layout.fitToWidth > 0 && columnsWidth > 0) {
    double across =
        100 * layout.fitToWidth * PrintableWidth(layout, input.defaultPaper) / columnsWidth;
    scale = static_cast<int>(std::clamp(std::floor(across + kSlack), 10.0, 100.0));
  }
  if (layout.fitToHeight <= 0 || input.lastRow < input.firstRow) return scale;
  // Rows do not split across pages, so the scale goes down until the pages are few enough.
  PagingInput at = input;
  for (at.scale = scale; at.scale > 10; --at.scale) {
    if (static_cast<int>(Pager(at).Breaks().size()) < layout.fitToHeight) break;
  }
  return at.scale;
}

std::vector<PageBreakPoint> ComputePageBreaks(const PagingInput& input) {
  if (input.lastRow < input.firstRow) return {};
  return Pager(input).Breaks();
}

}  // namespace tavrin

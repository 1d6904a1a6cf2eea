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

// Pages rows of the default height in runs and other rows one by one.
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
  double Height(int row) const {
    auto format = in_.layout->rowFormats.find(row);
    if (format != in_.layout->rowFormats.end() && format->second.hidden) return 0;
    auto it = in_.rowHeights->find(row);
    return it == in_.rowHeights->end() ? rowHeight_ : it->second.points * scale_;
  }

  // The first row of the next page, for a page starting at top that must end before stop. A
  // page holds at least one printed row; until it does, used is 0. The rows with a height or a
  // format of their own are walked in step with the page, the others counted in runs.
  int FillPage(int top, int stop) const {
    double room = printable_ - (top > in_.titleLast ? titleHeight_ : 0.0);
    double used = 0;
    const std::map<int, StoredRowHeight>& heights = *in_.rowHeights;
    const std::map<int, LineFormat>& formats = in_.layout->rowFormats;
    auto height = heights.lower_bound(top);
    auto format = formats.lower_bound(top);
    int row = top;
    while (row < stop) {
      int own = std::min(height == heights.end() ? INT_MAX : height->first,
                         format == formats.end() ? INT_MAX : format->first);
      int runEnd = std::min(own, stop);
      if (runEnd > row) {
        double fit = rowHeight_ > 0 ? std::floor((room - used) / rowHeight_ + kSlack) : INT_MAX;
        if (fit < runEnd - row) {
          int taken = static_cast<int>(std::max(fit, 0.0));
          return row + (used > 0 ? taken : std::max(taken, 1));
        }
        used += (runEnd - row) * rowHeight_;
        row = runEnd;
        continue;
      }
      double points = rowHeight_;
      if (height != heights.end() && height->first == row)
        points = (height++)->second.points * scale_;
      if (format != formats.end() && format->first == row) {
        if (format->second.hidden) points = 0;
        ++format;
      }
      if (used > 0 && used + points > room + kSlack) return row;
      used += points;
      ++row;
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

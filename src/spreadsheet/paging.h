#pragma once

#include <vector>

#include "spreadsheet/sheet_layout.h"

namespace tavrin {

// A horizontal page break: the first row of the page it starts, and whether the user put it
// there (manual) or the page ran full (automatic).
struct PageBreakPoint {
  int row = 0;
  bool manual = false;
  bool operator==(const PageBreakPoint&) const = default;
};

// What the pages of a sheet are computed from.
struct PagingInput {
  // The page setup, and the row formats: a hidden row takes no room.
  const SheetLayout* layout = nullptr;
  double defaultRowHeight = 12.75;
  // Rows with a height of their own.
  const RowRuns<StoredRowHeight>* rowHeights = nullptr;
  // The rows paged: the print area's rows, or row 1 to the last row holding content. None when
  // lastRow < firstRow.
  int firstRow = 1;
  int lastRow = 0;
  // The print title rows, none when titleLast < titleFirst.
  int titleFirst = 1;
  int titleLast = 0;
  // The printed size in percent: the page setup's scale, or the one FitScale finds.
  int scale = 100;
  // The paper of a layout that names none (SheetLayout::kPaperDefault): the user's locale's.
  int defaultPaper = SheetLayout::kPaperA4;
};

// The height a page gives its rows, in points: the paper's height (its width in landscape)
// less the top and bottom margins. Letter portrait with one-inch margins gives 648. Any of the
// host's paper codes (1 to 41) pages on its own size; an unknown one as Letter.
double PrintableHeight(const SheetLayout& layout, int defaultPaper = SheetLayout::kPaperA4);

// The width a page gives its columns, in points: the paper's width (its height in landscape)
// less the left and right margins.
double PrintableWidth(const SheetLayout& layout, int defaultPaper = SheetLayout::kPaperA4);

// The scale at which "fit to pages" prints: the largest whole percent from 10 to 100 at which
// columns `columnsWidth` points wide fit fitToWidth pages across and the paged rows fit
// fitToHeight pages down (either 0: any number), as the host computes it.
int FitScale(const PagingInput& input, double columnsWidth);

// The breaks top to bottom. A page takes rows while their heights (times the scale) fit the
// printable height less the repeated title rows; hidden rows take no room and stay with the page
// above them; a row taller than a page gets a page of its own. A manual break ends its page and
// the counting starts afresh below it. Breaks outside the paged rows are not listed. Rows of the
// same height and format are counted in runs, so the work grows with the pages and the runs of
// heights and formats, not with the rows.
std::vector<PageBreakPoint> ComputePageBreaks(const PagingInput& input);

}  // namespace tavrin

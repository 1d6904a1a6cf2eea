#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "host/address.h"
#include "spreadsheet/row_runs.h"

namespace tavrin {

// How a sheet prints and shows, as plain data: files read it and write it, the paging model
// computes on it. Margins are in inches, as the host's files keep them.
struct PageMargins {
  double left = 0.75;
  double right = 0.75;
  double top = 1.0;
  double bottom = 1.0;
  double header = 0.5;
  double footer = 0.5;
  bool operator==(const PageMargins&) const = default;
};

// What a row or a column holds besides its height or width: hidden, the cell format its empty
// cells show (0 for none), its outline level (0-7) and whether the group it ends is collapsed.
struct LineFormat {
  bool hidden = false;
  uint32_t style = 0;
  int outlineLevel = 0;
  bool collapsed = false;
  bool operator==(const LineFormat&) const = default;
};

// A row's own height in points. Fitted: the host sized the row to its content (a file's ht without
// customHeight); it is written back as such, so the host goes on fitting it.
struct StoredRowHeight {
  double points = 0;
  bool fitted = false;
  bool operator==(const StoredRowHeight&) const = default;
};

enum class PageOrientation { Portrait, Landscape };

struct SheetLayout {
  static constexpr int kPaperLetter = 1;
  static constexpr int kPaperA4 = 9;

  std::vector<Area> mergedCells;
  // Rows and columns with a LineFormat other than the default, by number.
  RowRuns<LineFormat> rowFormats;
  std::map<int, LineFormat> columnFormats;
  PageMargins margins;
  // The host's paper code; kPaperDefault, when the file names none, is the default printer's
  // paper, the user's locale's.
  static constexpr int kPaperDefault = 0;
  int paperSize = kPaperDefault;
  PageOrientation orientation = PageOrientation::Portrait;
  int scale = 100;  // printed size in percent
  // Fit to a number of pages wide and tall instead of the scale.
  bool fitToPage = false;
  int fitToWidth = 1;
  int fitToHeight = 1;
  // Print options: row and column headings (they take a row's room on every page), gridlines,
  // and centring on the page.
  bool printHeadings = false;
  bool printGridlines = false;
  bool centerHorizontally = false;
  bool centerVertically = false;
  // The print area as the host writes it ("$A$1:$F$20"), "" for the used area.
  std::string printArea;
  // Manual horizontal page breaks: the first row of the page each one starts, ascending.
  std::vector<int> manualRowBreaks;
  // The sheet's own view: page-break preview, its tab selected, the zoom in percent. The
  // window's View follows the active sheet's.
  bool pageBreakPreview = false;
  bool tabSelected = false;
  int zoom = 100;
};

}  // namespace tavrin

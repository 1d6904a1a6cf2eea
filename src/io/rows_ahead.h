#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "io/row_xml.h"
#include "io/sheet_rows.h"

namespace tavrin {

// The rows of a sheetData read ahead: a large sheet's rows are scanned on a second thread, a
// batch at a time, while the caller stores the batch before; a small one's on the caller's
// thread. Rows come in their order, and a damaged row fails after the rows before it have come.
class RowsAhead {
 public:
  // The rows of a whole sheetData.
  RowsAhead(std::string_view sheetData, const std::string& part);
  // The rows of a large part still arriving, from past its sheetData's start tag: the part goes
  // on arriving on the second thread, and is whole after the last row.
  RowsAhead(ArrivingPart arriving, size_t from, const std::string& part);
  ~RowsAhead();
  RowsAhead(const RowsAhead&) = delete;
  RowsAhead& operator=(const RowsAhead&) = delete;

  // The next row, nullptr after the last; it stays as it is until the next call. A row that is
  // no well-formed XML fails (FormatError naming the part).
  const RowXml* Next();

 private:
  struct Batch;
  struct Scanner;
  std::unique_ptr<Scanner> scanner_;
  Batch* batch_ = nullptr;  // the batch being taken
  size_t taken_ = 0;        // rows of it taken
};

}  // namespace tavrin

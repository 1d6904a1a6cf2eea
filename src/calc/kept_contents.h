#pragma once

#include <string>
#include <vector>

#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/uno/Sequence.hxx>

namespace tavrin {

// The contents of a block of cells (constants and formulas, in Calc's own terms), kept while a
// copy brings other cells' formats over it, then put back as they were.
class KeptContents {
 public:
  explicit KeptContents(com::sun::star::uno::Reference<com::sun::star::table::XCellRange> cells);
  void PutBack();

 private:
  com::sun::star::uno::Reference<com::sun::star::table::XCellRange> cells_;
  com::sun::star::uno::Sequence<com::sun::star::uno::Sequence<com::sun::star::uno::Any>> data_;
  struct Formula {
    sal_Int32 row, column;
    rtl::OUString text;
  };
  std::vector<Formula> formulas_;
};

inline KeptContents KeepContents(
    com::sun::star::uno::Reference<com::sun::star::table::XCellRange> cells) {
  return KeptContents(std::move(cells));
}

}  // namespace tavrin

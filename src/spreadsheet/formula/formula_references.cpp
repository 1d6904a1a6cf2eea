#include "spreadsheet/formula/formula_parser.h"

namespace tavrin {

// A sheet name and "!", when one comes next.
bool FormulaParser::SheetPrefix(std::string& sheet) {
  size_t start = pos_;
  if (Peek() == '\'') {
    ++pos_;
    for (;;) {
      if (pos_ >= text_.size()) return pos_ = start, false;
      char c = text_[pos_++];
      if (c == '\'') {
        if (Peek() != '\'') break;
        ++pos_;
      }
      sheet += c;
    }
  } else {
    while (IsFormulaNameChar(Peek())) sheet += text_[pos_++];
  }
  if (sheet.empty() || Peek() != '!') {
    sheet.clear();
    pos_ = start;
    return false;
  }
  ++pos_;
  return true;
}

bool FormulaParser::ReferenceAt(FormulaNode& out) {
  size_t start = pos_;
  Reference ref;
  bool qualified = SheetPrefix(ref.sheet);
  // A reference off the sheet, as the host writes it: "Sheet2!#REF!".
  if (qualified && text_.substr(pos_).starts_with("#REF!")) {
    pos_ += 5;
    out.kind = FormulaNode::Kind::Error;
    out.error = ErrorValue::Ref;
    out.text = std::move(ref.sheet);
    return true;
  }
  bool found = notation_ == Notation::A1 ? A1Reference(ref) : R1C1Reference(ref);
  if (!found || RunsOn()) {
    pos_ = start;
    return false;
  }
  (void)qualified;
  out.kind = FormulaNode::Kind::Ref;
  out.ref = std::move(ref);
  return true;
}

// An A1 corner at the current position, read past; false, and nothing read, when none.
bool FormulaParser::Corner(A1Corner& corner) {
  size_t length = ReadA1Corner(text_.substr(pos_), corner);
  pos_ += length;
  return length > 0;
}

// ":" and a corner after it, read past; false when not both.
bool FormulaParser::SecondCorner(A1Corner& corner) {
  if (Peek() != ':') return false;
  ++pos_;
  return Corner(corner);
}

// "$A$1", "A1:B2", "A:C", "1:3", each part "$" for absolute.
bool FormulaParser::A1Reference(Reference& ref) {
  size_t start = pos_;
  A1Corner first, second;
  if (!Corner(first)) return false;
  if (first.IsCell()) {
    ref.shape = Reference::Shape::Cell;
    ref.row1 = ref.row2 = RowOf(first);
    ref.column1 = ref.column2 = ColumnOf(first);
    size_t at = pos_;
    // A second corner running into a name or a call is none: the reference is the first
    // corner, as in R1C1.
    if (SecondCorner(second) && second.IsCell() && !RunsOn()) {
      ref.shape = Reference::Shape::Area;
      ref.row2 = RowOf(second);
      ref.column2 = ColumnOf(second);
      return true;
    }
    pos_ = at;
    return true;
  }
  // A column or a row alone is only the end of a range of columns or rows.
  if (SecondCorner(second) && first.SameKind(second)) {
    if (first.column > 0) {
      ref.shape = Reference::Shape::Columns;
      ref.column1 = ColumnOf(first);
      ref.column2 = ColumnOf(second);
    } else {
      ref.shape = Reference::Shape::Rows;
      ref.row1 = RowOf(first);
      ref.row2 = RowOf(second);
    }
    return true;
  }
  pos_ = start;
  return false;
}

// "R2C3", "R[-1]C", "RC[2]", "R2:R5", "C[-1]", "R", "C" and ranges of them.
bool FormulaParser::R1C1Reference(Reference& ref) {
  RefPart row, column;
  bool hasRow = R1C1Part('R', row, kLastRow), hasColumn = R1C1Part('C', column, kLastColumn);
  if (!hasRow && !hasColumn) return false;
  ref.shape = hasRow && hasColumn ? Reference::Shape::Cell
              : hasRow            ? Reference::Shape::Rows
                                  : Reference::Shape::Columns;
  ref.row1 = ref.row2 = row;
  ref.column1 = ref.column2 = column;
  if (Peek() != ':') return true;
  size_t at = pos_++;
  RefPart row2, column2;
  bool hasRow2 = R1C1Part('R', row2, kLastRow), hasColumn2 = R1C1Part('C', column2, kLastColumn);
  if (hasRow2 == hasRow && hasColumn2 == hasColumn && !RunsOn()) {
    if (ref.shape == Reference::Shape::Cell) ref.shape = Reference::Shape::Area;
    ref.row2 = row2;
    ref.column2 = column2;
    return true;
  }
  // A second corner running into a name or a call is none: the reference is the first
  // corner, as in A1.
  pos_ = at;
  return true;
}

bool FormulaParser::R1C1Part(char letter, RefPart& part, int last) {
  R1C1Coordinate coordinate;
  size_t length = ReadR1C1Coordinate(text_.substr(pos_), letter, last, coordinate);
  pos_ += length;
  part = {coordinate.value, coordinate.absolute};
  return length > 0;
}

}  // namespace tavrin

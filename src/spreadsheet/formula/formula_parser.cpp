#include <cctype>
#include <cmath>
#include <cstdlib>

#include "host/reference_text.h"
#include "spreadsheet/formula/formula_eval.h"
#include "spreadsheet/formula/formula_text.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

bool IsFormulaNameChar(char c) {
  return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' ||
         static_cast<unsigned char>(c) >= 0x80;
}

namespace {

size_t Characters(std::string_view text) {
  size_t count = 0;
  for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

// A recursive descent over the text; every method returns false when the text does not parse.
class Parser {
 public:
  Parser(std::string_view text, Notation notation, int row, int column)
      : text_(text), notation_(notation), row_(row), column_(column) {}

  std::optional<FormulaNode> Formula() {
    if (Characters(text_) > kMaxFormulaLength) return std::nullopt;
    if (!Eat('=')) return std::nullopt;
    FormulaNode root;
    if (!Comparison(root)) return std::nullopt;
    Blanks();
    if (pos_ != text_.size()) return std::nullopt;
    return root;
  }

 private:
  char Peek(size_t ahead = 0) const {
    return pos_ + ahead < text_.size() ? text_[pos_ + ahead] : '\0';
  }
  void Blanks() {
    while (Peek() == ' ') ++pos_;
  }
  bool Eat(char c) {
    Blanks();
    if (Peek() != c) return false;
    ++pos_;
    return true;
  }

  // Every step down into a parenthesis, a function's arguments or a sign is one level of
  // nesting; the host refuses a formula past its levels, and so the tree stays shallow enough
  // for every walk over it.
  class Nested {
   public:
    Nested(Parser& parser, bool function) : parser_(parser), function_(function) {
      ++parser_.nesting_;
      if (function_) ++parser_.functionNesting_;
    }
    ~Nested() {
      --parser_.nesting_;
      if (function_) --parser_.functionNesting_;
    }
    bool Allowed() const {
      return parser_.nesting_ <= kMaxNesting && parser_.functionNesting_ <= kMaxFunctionNesting;
    }

   private:
    Parser& parser_;
    bool function_;
  };

  static FormulaNode Binary(Op op, FormulaNode left, FormulaNode right) {
    FormulaNode node;
    node.kind = FormulaNode::Kind::Binary;
    node.op = op;
    node.children.push_back(std::move(left));
    node.children.push_back(std::move(right));
    return node;
  }

  bool Comparison(FormulaNode& out) {
    if (!Concat(out)) return false;
    for (;;) {
      Blanks();
      Op op;
      if (text_.substr(pos_).starts_with("<>"))
        op = Op::NotEqual, pos_ += 2;
      else if (text_.substr(pos_).starts_with("<="))
        op = Op::LessEqual, pos_ += 2;
      else if (text_.substr(pos_).starts_with(">="))
        op = Op::GreaterEqual, pos_ += 2;
      else if (Peek() == '=')
        op = Op::Equal, ++pos_;
      else if (Peek() == '<')
        op = Op::Less, ++pos_;
      else if (Peek() == '>')
        op = Op::Greater, ++pos_;
      else
        return true;
      FormulaNode right;
      if (!Concat(right)) return false;
      out = Binary(op, std::move(out), std::move(right));
    }
  }

  bool Concat(FormulaNode& out) {
    if (!Additive(out)) return false;
    while (Eat('&')) {
      FormulaNode right;
      if (!Additive(right)) return false;
      out = Binary(Op::Concat, std::move(out), std::move(right));
    }
    return true;
  }

  bool Additive(FormulaNode& out) {
    if (!Multiplicative(out)) return false;
    for (;;) {
      Blanks();
      if (Peek() != '+' && Peek() != '-') return true;
      Op op = text_[pos_++] == '+' ? Op::Add : Op::Subtract;
      FormulaNode right;
      if (!Multiplicative(right)) return false;
      out = Binary(op, std::move(out), std::move(right));
    }
  }

  bool Multiplicative(FormulaNode& out) {
    if (!Power(out)) return false;
    for (;;) {
      Blanks();
      if (Peek() != '*' && Peek() != '/') return true;
      Op op = text_[pos_++] == '*' ? Op::Multiply : Op::Divide;
      FormulaNode right;
      if (!Power(right)) return false;
      out = Binary(op, std::move(out), std::move(right));
    }
  }

  bool Power(FormulaNode& out) {
    if (!Unary(out)) return false;
    while (Eat('^')) {
      FormulaNode right;
      if (!Unary(right)) return false;
      out = Binary(Op::Power, std::move(out), std::move(right));
    }
    return true;
  }

  // Negation binds tighter than "^" in the host: -2^2 is 4.
  bool Unary(FormulaNode& out) {
    Blanks();
    if (Peek() == '-' || Peek() == '+') {
      Nested level(*this, false);
      if (!level.Allowed()) return false;
      FormulaNode node;
      node.kind = FormulaNode::Kind::Unary;
      node.op = text_[pos_++] == '-' ? Op::Negate : Op::Plus;
      node.children.emplace_back();
      if (!Unary(node.children.back())) return false;
      out = std::move(node);
      return true;
    }
    if (!Intersection(out)) return false;
    while (Eat('%')) {
      FormulaNode node;
      node.kind = FormulaNode::Kind::Unary;
      node.op = Op::Percent;
      node.children.push_back(std::move(out));
      out = std::move(node);
    }
    return true;
  }

  // Only what can name cells joins with ":": references (one that fell off the sheet, #REF!,
  // too), calls and parenthesised parts.
  static bool NamesCells(const FormulaNode& node) {
    using Kind = FormulaNode::Kind;
    return node.kind == Kind::Ref || node.kind == Kind::Call || node.kind == Kind::Paren ||
           (node.kind == Kind::Binary &&
            (node.op == Op::Range || node.op == Op::Intersect || node.op == Op::Union)) ||
           (node.kind == Kind::Error && node.error == ErrorValue::Ref);
  }

  bool RangeOf(FormulaNode& out) {
    if (!Primary(out)) return false;
    for (;;) {
      size_t at = pos_;
      if (!Eat(':')) return pos_ = at, true;  // the blanks stay, for an intersection
      FormulaNode right;
      if (!NamesCells(out) || !Primary(right) || !NamesCells(right)) {
        pos_ = at;
        return false;
      }
      out = Binary(Op::Range, std::move(out), std::move(right));
    }
  }

  // A blank between two parts that name cells is their intersection ("B1:B3 B2:B5"); a blank
  // before anything else is only a blank.
  bool Intersection(FormulaNode& out) {
    if (!RangeOf(out)) return false;
    for (;;) {
      size_t at = pos_;
      if (Peek() != ' ' || !NamesCells(out)) return true;
      Blanks();
      char c = Peek();
      bool startsPart = std::isalnum(static_cast<unsigned char>(c)) || c == '$' || c == '\'' ||
                        c == '(' || c == '#';
      FormulaNode right;
      if (!startsPart || !RangeOf(right) || !NamesCells(right)) {
        pos_ = at;
        return true;
      }
      out = Binary(Op::Intersect, std::move(out), std::move(right));
    }
  }

  // Parentheses: a part, or the union of parts that name cells, joined by commas ("(B1:B3,B5)").
  bool Parenthesised(FormulaNode& out) {
    Nested level(*this, false);
    if (!level.Allowed()) return false;
    ++pos_;
    out.kind = FormulaNode::Kind::Paren;
    out.children.emplace_back();
    FormulaNode& inner = out.children.back();
    if (!Comparison(inner)) return false;
    while (Eat(',')) {
      FormulaNode right;
      if (!NamesCells(inner) || !Comparison(right) || !NamesCells(right)) return false;
      inner = Binary(Op::Union, std::move(inner), std::move(right));
    }
    return Eat(')');
  }

  bool Primary(FormulaNode& out) {
    Blanks();
    char c = Peek();
    if (c == '(') return Parenthesised(out);
    if (c == '"') return TextLiteral(out);
    if (c == '#') return ErrorLiteral(out);
    if (c == '{') return ArrayLiteral(out);
    if (ReferenceAt(out)) return true;
    if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') return NumberLiteral(out);
    return NameAt(out);
  }

  bool TextLiteral(FormulaNode& out) {
    ++pos_;
    std::string text;
    for (;;) {
      if (pos_ >= text_.size()) return false;
      char c = text_[pos_++];
      if (c == '"') {
        if (Peek() != '"') break;
        ++pos_;
      }
      text += c;
    }
    out.kind = FormulaNode::Kind::Text;
    out.text = std::move(text);
    return true;
  }

  // "{1,2;3,4}": numbers (signed), texts, Booleans and error values, "," between the values of
  // a row and ";" between rows, every row as long as the first.
  bool ArrayLiteral(FormulaNode& out) {
    ++pos_;
    out.kind = FormulaNode::Kind::Array;
    int inRow = 0;
    for (;;) {
      Blanks();
      FormulaNode value;
      bool negative = Peek() == '-';
      if (negative || Peek() == '+') ++pos_;
      char c = Peek();
      bool read = c == '"'   ? !negative && TextLiteral(value)
                  : c == '#' ? !negative && ErrorLiteral(value)
                  : std::isdigit(static_cast<unsigned char>(c)) || c == '.'
                      ? NumberLiteral(value)
                      : !negative && BooleanAt(value);
      if (!read || out.children.size() >= kMostArrayValues) return false;
      if (negative) value.number = -value.number;
      out.children.push_back(std::move(value));
      ++inRow;
      Blanks();
      char separator = Peek();
      if (separator != ',' && separator != ';' && separator != '}') return false;
      ++pos_;
      if (separator == ',') continue;
      if (out.columns == 0) out.columns = inRow;
      if (inRow != out.columns) return false;
      inRow = 0;
      if (separator == '}') return true;
    }
  }

  bool BooleanAt(FormulaNode& out) {
    for (std::string_view name : {"TRUE", "FALSE"}) {
      if (text_.size() - pos_ >= name.size() &&
          EqualsIgnoringCase(text_.substr(pos_, name.size()), name) &&
          !IsFormulaNameChar(Peek(name.size()))) {
        pos_ += name.size();
        out.kind = FormulaNode::Kind::Boolean;
        out.boolean = name == "TRUE";
        return true;
      }
    }
    return false;
  }

  bool ErrorLiteral(FormulaNode& out) {
    for (ErrorValue error : {ErrorValue::Null, ErrorValue::Div0, ErrorValue::Value, ErrorValue::Ref,
                             ErrorValue::Name, ErrorValue::Num, ErrorValue::NA}) {
      std::string_view name = ErrorText(error);
      if (text_.size() - pos_ >= name.size() &&
          EqualsIgnoringCase(text_.substr(pos_, name.size()), name)) {
        pos_ += name.size();
        out.kind = FormulaNode::Kind::Error;
        out.error = error;
        return true;
      }
    }
    return false;
  }

  bool NumberLiteral(FormulaNode& out) {
    std::string digits;
    auto take = [&] {
      while (std::isdigit(static_cast<unsigned char>(Peek()))) digits += text_[pos_++];
    };
    take();
    if (Peek() == '.') digits += text_[pos_++], take();
    if (digits == ".") return false;
    if ((Peek() == 'E' || Peek() == 'e') && (std::isdigit(static_cast<unsigned char>(Peek(1))) ||
                                             ((Peek(1) == '+' || Peek(1) == '-') &&
                                              std::isdigit(static_cast<unsigned char>(Peek(2)))))) {
      digits += 'E';
      ++pos_;
      if (Peek() == '+' || Peek() == '-') digits += text_[pos_++];
      take();
    }
    out.kind = FormulaNode::Kind::Number;
    out.number = std::strtod(digits.c_str(), nullptr);
    // The host refuses a number past the range of numbers.
    return std::isfinite(out.number);
  }

  // A function call, TRUE or FALSE.
  bool NameAt(FormulaNode& out) {
    size_t start = pos_;
    while (IsFormulaNameChar(Peek())) ++pos_;
    if (pos_ == start) return false;
    std::string name(text_.substr(start, pos_ - start));
    for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (Peek() == '(') {
      Nested level(*this, true);
      if (!level.Allowed()) return false;
      ++pos_;
      out.kind = FormulaNode::Kind::Call;
      out.text = std::move(name);
      out.function = FindFunction(out.text);
      if (Eat(')')) return true;
      do {
        if (out.children.size() == kMaxArguments) return false;
        out.children.emplace_back();
        Blanks();
        if (Peek() == ',' || Peek() == ')') continue;  // a missing argument
        if (!Comparison(out.children.back())) return false;
      } while (Eat(','));
      return Eat(')');
    }
    if (name == "TRUE" || name == "FALSE") {
      out.kind = FormulaNode::Kind::Boolean;
      out.boolean = name == "TRUE";
      return true;
    }
    return false;
  }

  // A sheet name and "!", when one comes next.
  bool SheetPrefix(std::string& sheet) {
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

  // Whether a name, a call or a bracket goes on from here, so what came before is no whole
  // reference.
  bool RunsOn() const { return IsFormulaNameChar(Peek()) || Peek() == '(' || Peek() == '['; }

  bool ReferenceAt(FormulaNode& out) {
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
  bool Corner(A1Corner& corner) {
    size_t length = ReadA1Corner(text_.substr(pos_), corner);
    pos_ += length;
    return length > 0;
  }
  // ":" and a corner after it, read past; false when not both.
  bool SecondCorner(A1Corner& corner) {
    if (Peek() != ':') return false;
    ++pos_;
    return Corner(corner);
  }

  RefPart RowOf(const A1Corner& corner) const {
    return {corner.rowAbsolute ? corner.row : corner.row - row_, corner.rowAbsolute};
  }
  RefPart ColumnOf(const A1Corner& corner) const {
    return {corner.columnAbsolute ? corner.column : corner.column - column_, corner.columnAbsolute};
  }

  // "$A$1", "A1:B2", "A:C", "1:3", each part "$" for absolute.
  bool A1Reference(Reference& ref) {
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
  bool R1C1Reference(Reference& ref) {
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

  bool R1C1Part(char letter, RefPart& part, int last) {
    R1C1Coordinate coordinate;
    size_t length = ReadR1C1Coordinate(text_.substr(pos_), letter, last, coordinate);
    pos_ += length;
    part = {coordinate.value, coordinate.absolute};
    return length > 0;
  }

  std::string_view text_;
  Notation notation_;
  int row_, column_;
  size_t pos_ = 0;
  int nesting_ = 0;
  int functionNesting_ = 0;
};

}  // namespace

std::optional<FormulaNode> ParseFormula(std::string_view text, Notation notation, int row,
                                        int column) {
  return Parser(text, notation, row, column).Formula();
}

}  // namespace tavrin

#include <cctype>
#include <cmath>
#include <cstdlib>

#include "spreadsheet/formula/formula_parser.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

bool FormulaParser::TextLiteral(FormulaNode& out) {
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
bool FormulaParser::ArrayLiteral(FormulaNode& out) {
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

bool FormulaParser::BooleanAt(FormulaNode& out) {
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

bool FormulaParser::ErrorLiteral(FormulaNode& out) {
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

bool FormulaParser::NumberLiteral(FormulaNode& out) {
  std::string digits;
  auto take = [&] {
    while (std::isdigit(static_cast<unsigned char>(Peek()))) digits += text_[pos_++];
  };
  take();
  if (Peek() == '.') digits += text_[pos_++], take();
  if (digits == ".") return false;
  if ((Peek() == 'E' || Peek() == 'e') &&
      (std::isdigit(static_cast<unsigned char>(Peek(1))) ||
       ((Peek(1) == '+' || Peek(1) == '-') && std::isdigit(static_cast<unsigned char>(Peek(2)))))) {
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

}  // namespace tavrin

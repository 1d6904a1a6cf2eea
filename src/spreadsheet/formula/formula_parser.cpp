#include "spreadsheet/formula/formula_parser.h"

#include <cctype>

#include "spreadsheet/formula/formula_eval.h"

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

}  // namespace

std::optional<FormulaNode> FormulaParser::Formula() {
  if (Characters(text_) > kMaxFormulaLength) return std::nullopt;
  if (!Eat('=')) return std::nullopt;
  FormulaNode root;
  if (!Comparison(root)) return std::nullopt;
  Blanks();
  if (pos_ != text_.size()) return std::nullopt;
  return root;
}

FormulaNode FormulaParser::Binary(Op op, FormulaNode left, FormulaNode right) {
  FormulaNode node;
  node.kind = FormulaNode::Kind::Binary;
  node.op = op;
  node.children.push_back(std::move(left));
  node.children.push_back(std::move(right));
  return node;
}

bool FormulaParser::Comparison(FormulaNode& out) {
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

bool FormulaParser::Concat(FormulaNode& out) {
  if (!Additive(out)) return false;
  while (Eat('&')) {
    FormulaNode right;
    if (!Additive(right)) return false;
    out = Binary(Op::Concat, std::move(out), std::move(right));
  }
  return true;
}

bool FormulaParser::Additive(FormulaNode& out) {
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

bool FormulaParser::Multiplicative(FormulaNode& out) {
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

bool FormulaParser::Power(FormulaNode& out) {
  if (!Unary(out)) return false;
  while (Eat('^')) {
    FormulaNode right;
    if (!Unary(right)) return false;
    out = Binary(Op::Power, std::move(out), std::move(right));
  }
  return true;
}

// Negation binds tighter than "^" in the host: -2^2 is 4.
bool FormulaParser::Unary(FormulaNode& out) {
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
bool FormulaParser::NamesCells(const FormulaNode& node) {
  using Kind = FormulaNode::Kind;
  return node.kind == Kind::Ref || node.kind == Kind::Call || node.kind == Kind::Paren ||
         (node.kind == Kind::Binary &&
          (node.op == Op::Range || node.op == Op::Intersect || node.op == Op::Union)) ||
         (node.kind == Kind::Error && node.error == ErrorValue::Ref);
}

bool FormulaParser::RangeOf(FormulaNode& out) {
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
bool FormulaParser::Intersection(FormulaNode& out) {
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
bool FormulaParser::Parenthesised(FormulaNode& out) {
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

bool FormulaParser::Primary(FormulaNode& out) {
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

// A function call, TRUE or FALSE, or a defined name when they are read.
bool FormulaParser::NameAt(FormulaNode& out) {
  size_t start = pos_;
  while (IsFormulaNameChar(Peek())) ++pos_;
  if (pos_ == start) return false;
  std::string_view written = text_.substr(start, pos_ - start);
  std::string name(written);
  for (char& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (Peek() == '(') return CallAt(out, std::move(name));
  if (name == "TRUE" || name == "FALSE") {
    out.kind = FormulaNode::Kind::Boolean;
    out.boolean = name == "TRUE";
    return true;
  }
  A1Corner corner;
  if (!definedNames_ ||
      ReadA1Corner(written, corner, kFileLastRow, kFileLastColumn) == written.size())
    return false;
  out.kind = FormulaNode::Kind::Name;
  out.text = written;
  return true;
}

bool FormulaParser::CallAt(FormulaNode& out, std::string name) {
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

std::optional<FormulaNode> ParseFormula(std::string_view text, Notation notation, int row,
                                        int column, bool definedNames) {
  return FormulaParser(text, notation, row, column, definedNames).Formula();
}

}  // namespace tavrin

#include <charconv>
#include <cmath>

#include "host/reference_text.h"
#include "host/variant_rules.h"
#include "spreadsheet/formula/formula_text.h"

namespace tavrin {

namespace {

const char* OpText(Op op) {
  switch (op) {
    case Op::Range:
      return ":";
    case Op::Intersect:
      return " ";
    case Op::Union:
      return ",";
    case Op::Negate:
      return "-";
    case Op::Plus:
      return "+";
    case Op::Percent:
      return "%";
    case Op::Power:
      return "^";
    case Op::Multiply:
      return "*";
    case Op::Divide:
      return "/";
    case Op::Add:
      return "+";
    case Op::Subtract:
      return "-";
    case Op::Concat:
      return "&";
    case Op::Equal:
      return "=";
    case Op::NotEqual:
      return "<>";
    case Op::Less:
      return "<";
    case Op::LessEqual:
      return "<=";
    case Op::Greater:
      return ">";
    case Op::GreaterEqual:
      return ">=";
  }
  return "";
}

// Appends a whole number's digits.
void AppendWhole(std::string& out, long long number) {
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, number).ptr);
}

// A number as the host writes it in a formula; a whole number below 10^15 is its digits, which
// is what NumberText writes, without its detour through 15 significant digits.
void AppendNumber(std::string& out, double number) {
  if (std::fabs(number) < 1e15 && number == std::trunc(number)) {
    AppendWhole(out, static_cast<long long>(number));
  } else {
    out += NumberText(number, UserLocale{});
  }
}

// Whether a reference names the same cells from every cell.
bool Fixed(const Reference& ref) {
  using Shape = Reference::Shape;
  return (ref.shape == Shape::Columns || (ref.row1.absolute && ref.row2.absolute)) &&
         (ref.shape == Shape::Rows || (ref.column1.absolute && ref.column2.absolute));
}

// Writes after what the buffer holds. With `moving`, an A1 reference that moves with the cell
// is not written: the text so far and the reference join the pieces instead.
class Writer {
 public:
  Writer(std::string& buffer, Notation notation, int row, int column,
         std::vector<std::pair<std::string, const Reference*>>* moving = nullptr)
      : out(buffer), notation_(notation), row_(row), column_(column), moving_(moving) {}

  void Node(const FormulaNode& node) {
    switch (node.kind) {
      case FormulaNode::Kind::Number:
        AppendNumber(out, node.number);
        return;
      case FormulaNode::Kind::Text:
        AppendQuoted(node.text);
        return;
      case FormulaNode::Kind::Boolean:
        out += node.boolean ? "TRUE" : "FALSE";
        return;
      case FormulaNode::Kind::Error:
        if (!node.text.empty()) out += SheetPrefix(node.text);
        out += ErrorText(node.error);
        return;
      case FormulaNode::Kind::Missing:
        return;
      case FormulaNode::Kind::Ref:
        Ref(node.ref);
        return;
      case FormulaNode::Kind::Unary:
        if (node.op == Op::Percent) {
          Node(node.children[0]);
          out += '%';
        } else {
          out += OpText(node.op);
          Node(node.children[0]);
        }
        return;
      case FormulaNode::Kind::Binary:
        // Beside ":" a row or column range keeps both ends ("R2:R2:R3:R3"), or its text would
        // run into the next operand's.
        inRange_ = node.op == Op::Range;
        Node(node.children[0]);
        out += OpText(node.op);
        if (node.op == Op::Range) inRange_ = true;
        Node(node.children[1]);
        inRange_ = false;
        return;
      case FormulaNode::Kind::Paren:
        out += '(';
        Node(node.children[0]);
        out += ')';
        return;
      case FormulaNode::Kind::Array:
        out += '{';
        for (size_t i = 0; i < node.children.size(); ++i) {
          if (i > 0) out += i % static_cast<size_t>(node.columns) == 0 ? ';' : ',';
          Node(node.children[i]);
        }
        out += '}';
        return;
      case FormulaNode::Kind::Name:
        out += node.text;
        return;
      case FormulaNode::Kind::Call:
        Call(node);
        return;
    }
  }

  void Call(const FormulaNode& node) {
    out += node.text;
    out += '(';
    for (size_t i = 0; i < node.children.size(); ++i) {
      if (i > 0) out += ',';
      Node(node.children[i]);
    }
    out += ')';
  }

  void Ref(const Reference& ref) {
    if (moving_ && notation_ == Notation::A1 && !Fixed(ref)) {
      moving_->emplace_back(std::move(out), &ref);
      out.clear();
      return;
    }
    if (!ref.sheet.empty()) out += SheetPrefix(ref.sheet);
    if (notation_ == Notation::R1C1) return R1C1Ref(ref);
    if (!ref.Resolve(row_, column_)) {
      out += "#REF!";
      return;
    }
    using Shape = Reference::Shape;
    if (ref.shape != Shape::Rows) A1Column(ref.column1);
    if (ref.shape != Shape::Columns) A1Row(ref.row1);
    if (ref.shape == Shape::Cell) return;
    out += ':';
    if (ref.shape != Shape::Rows) A1Column(ref.column2);
    if (ref.shape != Shape::Columns) A1Row(ref.row2);
  }

  std::string& out;

 private:
  // A text literal: quoted, every quote doubled.
  void AppendQuoted(std::string_view text) {
    out += '"';
    for (size_t quote; (quote = text.find('"')) != std::string_view::npos;) {
      out.append(text.substr(0, quote + 1));
      out += '"';
      text.remove_prefix(quote + 1);
    }
    out.append(text);
    out += '"';
  }

  void A1Column(const RefPart& part) {
    if (part.absolute) out += '$';
    out += ColumnLetters(part.At(column_));
  }
  void A1Row(const RefPart& part) {
    if (part.absolute) out += '$';
    AppendWhole(out, part.At(row_));
  }

  void R1C1Ref(const Reference& ref) {
    using Shape = Reference::Shape;
    auto corner = [&](const RefPart& row, const RefPart& column) {
      if (ref.shape != Shape::Columns) R1C1Part('R', row);
      if (ref.shape != Shape::Rows) R1C1Part('C', column);
    };
    corner(ref.row1, ref.column1);
    bool single =
        ref.shape == Shape::Cell ||
        (!inRange_ && ref.shape == Shape::Rows && ref.row1.value == ref.row2.value &&
         ref.row1.absolute == ref.row2.absolute) ||
        (!inRange_ && ref.shape == Shape::Columns && ref.column1.value == ref.column2.value &&
         ref.column1.absolute == ref.column2.absolute);
    if (single) return;
    out += ':';
    corner(ref.row2, ref.column2);
  }

  void R1C1Part(char letter, const RefPart& part) {
    out += letter;
    if (part.absolute) {
      AppendWhole(out, part.value);
    } else if (part.value != 0) {
      out += '[';
      AppendWhole(out, part.value);
      out += ']';
    }
  }

  Notation notation_;
  int row_, column_;
  bool inRange_ = false;  // writing an operand of ":"
  std::vector<std::pair<std::string, const Reference*>>* moving_;
};

}  // namespace

std::optional<Area> Reference::Resolve(int row, int column) const {
  int r1 = 1, r2 = kLastRow, c1 = 1, c2 = kLastColumn;
  if (shape != Shape::Columns) r1 = row1.At(row), r2 = row2.At(row);
  if (shape != Shape::Rows) c1 = column1.At(column), c2 = column2.At(column);
  if (r1 > r2) std::swap(r1, r2);
  if (c1 > c2) std::swap(c1, c2);
  if (r1 < 1 || r2 > kLastRow || c1 < 1 || c2 > kLastColumn) return std::nullopt;
  return Area{r1, c1, r2 - r1 + 1, c2 - c1 + 1};
}

// One buffer kept for the thread, so that a text is allocated once, at its length, however
// many cells a fill writes.
std::string WriteFormula(const FormulaNode& root, Notation notation, int row, int column) {
  thread_local std::string buffer;
  buffer.assign(1, '=');
  Writer writer(buffer, notation, row, column);
  writer.Node(root);
  return buffer;
}

A1Texts::A1Texts(const FormulaNode& root) {
  std::string rest = "=";
  Writer writer(rest, Notation::A1, 1, 1, &pieces_);
  writer.Node(root);
  pieces_.emplace_back(std::move(rest), nullptr);
}

std::string A1Texts::At(int row, int column) const {
  thread_local std::string buffer;
  buffer.clear();
  Writer writer(buffer, Notation::A1, row, column);
  for (const auto& [text, ref] : pieces_) {
    buffer += text;
    if (ref) writer.Ref(*ref);
  }
  return buffer;
}

}  // namespace tavrin

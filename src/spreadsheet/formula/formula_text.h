#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "spreadsheet/formula/formula_tree.h"

namespace tavrin {

enum class Notation { A1, R1C1 };

// The host's limits of a formula: its text, "=" included, and the levels of nested functions.
// Parentheses and signs nest too; past 255 levels of any kind a formula is refused as well.
constexpr size_t kMaxFormulaLength = 8192;
constexpr int kMaxFunctionNesting = 64;
constexpr int kMaxNesting = 255;
// The most arguments a function takes.
constexpr int kMaxArguments = 255;
// The most values an array constant holds (its text can hold no more anyway).
constexpr size_t kMostArrayValues = 8192;

// Whether a character can stand in a name: a function's, a Boolean's or an unquoted sheet's.
bool IsFormulaNameChar(char c);

// Reads a formula text ("=" first) entered in the cell (row, column): references (absolute,
// relative, mixed, ranges, whole rows and columns, sheet-qualified), numbers, texts with doubled
// quotes, TRUE and FALSE, error values, operators with the host's precedence (":" first, then
// unary minus, "%", "^", "*" "/", "+" "-", "&", comparisons) and function calls. Blanks between
// parts are allowed. Nothing when the text is not a formula in that notation; a name that is no
// reference, Boolean or function call is not taken either, so "=R2C2" is no A1 formula. A text
// past the limits above, or a call of more than 255 arguments, is no formula either. With
// definedNames, as for a formula read from a file, such a name reads as a defined name, which
// the engine does not hold; a name that is a reference on the largest sheet a file describes
// ("XFD1") is none, so the text is no formula.
std::optional<FormulaNode> ParseFormula(std::string_view text, Notation notation, int row,
                                        int column, bool definedNames = false);

// An array formula's text is its formula in braces, as the formula bar shows one:
// "{=SUM(A1:A3*2)}". Whether a text is one.
inline bool IsArrayFormulaText(std::string_view text) {
  return text.size() > 3 && text.starts_with("{=") && text.ends_with('}');
}

// The formula's text as the host writes it in the cell (row, column): "=" first, function names
// and references in upper case, no blanks. An A1 reference that falls off the sheet is "#REF!".
std::string WriteFormula(const FormulaNode& root, Notation notation, int row, int column);

// A formula's A1 texts in any cell, as WriteFormula writes them: what is the same in every cell
// is written once, and only the references that move with the cell are written for each. It
// points into the tree and lives no longer than it.
class A1Texts {
 public:
  explicit A1Texts(const FormulaNode& root);
  std::string At(int row, int column) const;

 private:
  // Texts, each followed by a reference written for the cell (none after the last).
  std::vector<std::pair<std::string, const Reference*>> pieces_;
};

}  // namespace tavrin

#include "io/newer_functions.h"

#include <cctype>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "spreadsheet/formula/formula_text.h"

namespace tavrin {

namespace {

// The functions the host added after 2007, as its formula bar names them.
constexpr std::string_view kNewerFunctions[] = {
    // 2010
    "AGGREGATE", "BETA.DIST", "BETA.INV", "BINOM.DIST", "BINOM.INV", "CEILING.PRECISE",
    "CHISQ.DIST", "CHISQ.DIST.RT", "CHISQ.INV", "CHISQ.INV.RT", "CHISQ.TEST", "CONFIDENCE.NORM",
    "CONFIDENCE.T", "COVARIANCE.P", "COVARIANCE.S", "ERF.PRECISE", "ERFC.PRECISE", "EXPON.DIST",
    "F.DIST", "F.DIST.RT", "F.INV", "F.INV.RT", "F.TEST", "FLOOR.PRECISE", "GAMMA.DIST",
    "GAMMA.INV", "GAMMALN.PRECISE", "HYPGEOM.DIST", "LOGNORM.DIST", "LOGNORM.INV", "MODE.MULT",
    "MODE.SNGL", "NEGBINOM.DIST", "NETWORKDAYS.INTL", "NORM.DIST", "NORM.INV", "NORM.S.DIST",
    "NORM.S.INV", "PERCENTILE.EXC", "PERCENTILE.INC", "PERCENTRANK.EXC", "PERCENTRANK.INC",
    "POISSON.DIST", "QUARTILE.EXC", "QUARTILE.INC", "RANK.AVG", "RANK.EQ", "STDEV.P", "STDEV.S",
    "T.DIST", "T.DIST.2T", "T.DIST.RT", "T.INV", "T.INV.2T", "T.TEST", "VAR.P", "VAR.S",
    "WEIBULL.DIST", "WORKDAY.INTL",
    // 2013
    "ACOT", "ACOTH", "ARABIC", "BASE", "BINOM.DIST.RANGE", "BITAND", "BITLSHIFT", "BITOR",
    "BITRSHIFT", "BITXOR", "CEILING.MATH", "COMBINA", "COT", "COTH", "CSC", "CSCH", "DAYS",
    "DECIMAL", "ENCODEURL", "FILTERXML", "FLOOR.MATH", "FORMULATEXT", "GAMMA", "GAUSS", "IFNA",
    "IMCOSH", "IMCOT", "IMCSC", "IMCSCH", "IMSEC", "IMSECH", "IMSINH", "IMTAN", "ISFORMULA",
    "ISOWEEKNUM", "MUNIT", "NUMBERVALUE", "PDURATION", "PERMUTATIONA", "PHI", "RRI", "SEC", "SECH",
    "SHEET", "SHEETS", "SKEW.P", "UNICHAR", "UNICODE", "WEBSERVICE", "XOR",
    // 2016 and 2019
    "CONCAT", "FORECAST.ETS", "FORECAST.ETS.CONFINT", "FORECAST.ETS.SEASONALITY",
    "FORECAST.ETS.STAT", "FORECAST.LINEAR", "IFS", "MAXIFS", "MINIFS", "SWITCH", "TEXTJOIN",
    // Later: dynamic arrays and the rest
    "ARRAYTOTEXT", "BYCOL", "BYROW", "CHOOSECOLS", "CHOOSEROWS", "DROP", "EXPAND", "HSTACK",
    "ISOMITTED", "LAMBDA", "LET", "MAKEARRAY", "MAP", "RANDARRAY", "REDUCE", "SCAN", "SEQUENCE",
    "SORTBY", "TAKE", "TEXTAFTER", "TEXTBEFORE", "TEXTSPLIT", "TOCOL", "TOROW", "UNIQUE",
    "VALUETOTEXT", "VSTACK", "WRAPCOLS", "WRAPROWS", "XLOOKUP", "XMATCH"};

// Those a file names with a second prefix, "_xlfn._xlws.".
constexpr std::string_view kWorksheetFunctions[] = {"FILTER", "SORT"};

std::string Upper(std::string_view text) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return upper;
}

// A function's name to take, by its name in upper case.
using Names = std::unordered_map<std::string, std::string>;

struct NameMaps {
  Names fromFile;  // the model's names by the files'
  Names forFile;   // the files' names by the model's
};

const NameMaps& Maps() {
  static const NameMaps maps = [] {
    NameMaps made;
    auto add = [&](std::string_view name, std::string_view prefix) {
      std::string file = std::string(prefix) + std::string(name);
      made.fromFile.emplace(Upper(file), name);
      made.forFile.emplace(name, std::move(file));
    };
    for (std::string_view name : kNewerFunctions) add(name, "_xlfn.");
    for (std::string_view name : kWorksheetFunctions) add(name, "_xlfn._xlws.");
    return made;
  }();
  return maps;
}

// Whether a name the table holds stands before a "(": a quick look, so most texts are not
// parsed; the parse then tells a call from a text literal.
bool MayCall(std::string_view text, const Names& names) {
  for (size_t open = text.find('('); open != std::string_view::npos;
       open = text.find('(', open + 1)) {
    size_t start = open;
    while (start > 0 && IsFormulaNameChar(text[start - 1])) --start;
    if (names.contains(Upper(text.substr(start, open - start)))) return true;
  }
  return false;
}

// A prefixed name the table does not know keeps its prefix as the host writes it, in lower case.
void LowerPrefixes(std::string& name) {
  for (size_t at = 0; name.compare(at, 6, "_XLFN.") == 0 || name.compare(at, 6, "_XLWS.") == 0;
       at += 6) {
    for (size_t i = at + 1; i < at + 5; ++i) name[i] = static_cast<char>(std::tolower(name[i]));
  }
}

// Renames the tree's calls that the names hold, a node at a time (a chain of operators nests
// deep); whether any was.
bool RenameCalls(FormulaNode& root, const Names& names) {
  bool renamed = false;
  std::vector<FormulaNode*> stack{&root};
  while (!stack.empty()) {
    FormulaNode& node = *stack.back();
    stack.pop_back();
    if (node.kind == FormulaNode::Kind::Call) {
      if (auto found = names.find(node.text); found != names.end()) {
        node.text = found->second;
        renamed = true;
      } else {
        LowerPrefixes(node.text);
      }
    }
    for (FormulaNode& child : node.children) stack.push_back(&child);
  }
  return renamed;
}

std::string Renamed(const std::string& text, int row, int column, const Names& names) {
  if (!MayCall(text, names)) return text;
  bool array = IsArrayFormulaText(text);
  std::string_view formula = array ? std::string_view(text).substr(1, text.size() - 2) : text;
  std::optional<FormulaNode> root = ParseFormula(formula, Notation::A1, row, column, true);
  if (!root || !RenameCalls(*root, names)) return text;
  std::string written = WriteFormula(*root, Notation::A1, row, column);
  return array ? "{" + written + "}" : written;
}

}  // namespace

std::string FormulaFromFile(const std::string& text, int row, int column) {
  return Renamed(text, row, column, Maps().fromFile);
}

std::string FormulaForFile(const std::string& text, int row, int column) {
  return Renamed(text, row, column, Maps().forFile);
}

}  // namespace tavrin

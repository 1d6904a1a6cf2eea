#include "calc/calc_functions.h"

#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/XMultiComponentFactory.hpp>
#include <com/sun/star/sheet/CellFlags.hpp>
#include <com/sun/star/sheet/FormulaResult.hpp>
#include <com/sun/star/sheet/XCellRangesQuery.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>

#include "calc/calc_sheet.h"
#include "calc/found_cells.h"
#include "calc/uno_text.h"
#include "host/host_error.h"
#include "host/typed_entry.h"

namespace tavrin {

namespace sheet = com::sun::star::sheet;
namespace table = com::sun::star::table;
namespace CellFlags = com::sun::star::sheet::CellFlags;

namespace {

uno::Any AnyOf(const Variant& value) {
  if (value.IsText()) return uno::Any(Unicode(value.AsText()));
  if (value.IsBoolean()) return uno::Any(value.AsBoolean());
  if (value.IsNumber() || value.IsDate()) return uno::Any(value.AsNumber());
  return uno::Any(rtl::OUString());
}

uno::Any CellsOf(const Range& range, const Area& area) {
  auto& sheet = static_cast<CalcSheet&>(range.Parent());
  return uno::Any(sheet.CellRange(area));
}

// Whether a criterion asks for texts alone: a text that, after "=" or nothing, reads neither as
// a number, nor as TRUE or FALSE, nor as an error value.
bool AsksForText(const Variant& criteria) {
  if (!criteria.IsText()) return false;
  std::string_view text = criteria.AsText();
  if (text.starts_with("<") || text.starts_with(">")) return false;
  if (text.starts_with("=")) text.remove_prefix(1);
  if (text.empty()) return false;
  TypedEntry entry = ReadTypedEntry(Variant(std::string(text)), UserLocale{});
  return entry.value.IsText() || entry.isFormula;
}

}  // namespace

CalcFunctions::CalcFunctions(uno::Reference<uno::XComponentContext> context)
    : context_(std::move(context)) {}

double CalcFunctions::Call(const char* name, const char* hostName,
                           const uno::Sequence<uno::Any>& arguments) {
  if (!access_.is()) {
    access_.set(context_->getServiceManager()->createInstanceWithContext(
                    Unicode("com.sun.star.sheet.FunctionAccess"), context_),
                uno::UNO_QUERY_THROW);
    uno::Reference<com::sun::star::beans::XPropertySet> options(access_, uno::UNO_QUERY_THROW);
    options->setPropertyValue(Unicode("IgnoreCase"), uno::Any(true));
    options->setPropertyValue(Unicode("MatchWholeCell"), uno::Any(true));
    options->setPropertyValue(Unicode("RegularExpressions"), uno::Any(false));
    options->setPropertyValue(Unicode("Wildcards"), uno::Any(true));
  }
  try {
    double result = 0;
    if (access_->callFunction(Unicode(name), arguments) >>= result) return result;
  } catch (const uno::Exception&) {
  }
  throw HostError::PropertyUnavailable("WorksheetFunction", hostName);
}

double CalcFunctions::OverAreas(const char* name, const char* hostName, const Range& range) {
  double total = 0;
  for (const Area& area : range.Areas()) {
    uno::Any cells = CellsOf(range, area);
    total += Call(name, hostName, uno::Sequence<uno::Any>(&cells, 1));
  }
  return total;
}

double CalcFunctions::CountA(const Range& range) {
  return OverAreas("COUNTA", "CountA", range);
}

double CalcFunctions::CountBlank(const Range& range) {
  return OverAreas("COUNTBLANK", "CountBlank", range);
}

double CalcFunctions::CountIf(const Range& range, const Variant& criteria) {
  uno::Sequence<uno::Any> arguments(2);
  arguments.getArray()[1] = AnyOf(criteria);
  if (!AsksForText(criteria)) {
    double count = 0;
    for (const Area& area : range.Areas()) {
      arguments.getArray()[0] = CellsOf(range, area);
      count += Call("COUNTIF", "CountIf", arguments);
    }
    return count;
  }
  // Calc matches a text pattern against numbers too ("*" counts them); the host only against
  // texts, so only the cells holding texts are counted.
  double count = 0;
  auto& sheet = static_cast<CalcSheet&>(range.Parent());
  for (const Area& area : range.Areas()) {
    uno::Reference<sheet::XCellRangesQuery> query(sheet.CellRange(area), uno::UNO_QUERY_THROW);
    for (const auto& texts : {query->queryContentCells(CellFlags::STRING),
                              query->queryFormulaCells(sheet::FormulaResult::STRING)}) {
      for (const table::CellRangeAddress& at : FoundWithin(texts, sheet.Address(area))) {
        arguments.getArray()[0] <<= sheet.UnoSheet()->getCellRangeByPosition(
            at.StartColumn, at.StartRow, at.EndColumn, at.EndRow);
        count += Call("COUNTIF", "CountIf", arguments);
      }
    }
  }
  return count;
}

double CalcFunctions::Sum(const Range& range) {
  return OverAreas("SUM", "Sum", range);
}

double CalcFunctions::Match(const Variant& lookupValue, const Range& lookupArray, int matchType) {
  uno::Sequence<uno::Any> arguments(3);
  arguments.getArray()[0] = AnyOf(lookupValue);
  arguments.getArray()[1] = CellsOf(lookupArray, lookupArray.FirstArea());
  arguments.getArray()[2] <<= static_cast<double>(matchType);
  return Call("MATCH", "Match", arguments);
}

double CalcFunctions::RoundUp(double number, double digits) {
  uno::Sequence<uno::Any> arguments(2);
  arguments.getArray()[0] <<= number;
  arguments.getArray()[1] <<= digits;
  return Call("ROUNDUP", "RoundUp", arguments);
}

}  // namespace tavrin

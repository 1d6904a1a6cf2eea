#include "calc/calc_application.h"

#include <algorithm>

#include <com/sun/star/document/XActionLockable.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/sheet/XSheetCellRanges.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include "calc/calc_functions.h"
#include "calc/calc_windows.h"
#include "host/host_error.h"

namespace tavrin {

namespace table = com::sun::star::table;

namespace {

Area AreaOf(const table::CellRangeAddress& address) {
  return Area{static_cast<int>(address.StartRow) + 1, static_cast<int>(address.StartColumn) + 1,
              static_cast<int>(address.EndRow - address.StartRow) + 1,
              static_cast<int>(address.EndColumn - address.StartColumn) + 1};
}

// Clipped to the sheet the toolbox knows.
std::optional<Area> Clipped(Area area) {
  if (area.row > kLastRow || area.column > kLastColumn) return std::nullopt;
  area.rows = std::min(area.rows, kLastRow - area.row + 1);
  area.columns = std::min(area.columns, kLastColumn - area.column + 1);
  return area;
}

}  // namespace

CalcApplication::CalcApplication(uno::Reference<uno::XComponentContext> context)
    : context_(std::move(context)),
      windows_(std::make_unique<CalcWindows>(*this)),
      functions_(std::make_unique<CalcFunctions>(context_)) {}

CalcApplication::~CalcApplication() = default;

CalcBook& CalcApplication::BookOf(const uno::Reference<sheet::XSpreadsheetDocument>& document,
                                  const std::string& name) {
  for (const auto& book : books_) {
    if (book->Document().Document() == document) return *book;
  }
  books_.push_back(std::make_unique<CalcBook>(*this, document, name));
  return *books_.back();
}

void CalcApplication::Forget(CalcBook& book) {
  windows_->Drop(book);
  if (active_ == &book) active_ = nullptr;
  if (this_ == &book) this_ = nullptr;
  if (locked_ == &book) locked_ = nullptr;
  if (copied_ && &copied_->Parent().Parent() == static_cast<Workbook*>(&book)) copied_.reset();
  std::erase_if(books_, [&](const auto& known) { return known.get() == &book; });
}

Windows& CalcApplication::Windows() {
  return *windows_;
}

Window& CalcApplication::ActiveWindow() {
  return windows_->Of(ActiveBook());
}

CalcBook& CalcApplication::ActiveBook() {
  if (active_ == nullptr) throw HostError::ObjectVariableNotSet();
  return *active_;
}

Workbook& CalcApplication::ThisWorkbook() {
  if (this_ == nullptr) throw HostError::ObjectVariableNotSet();
  return *this_;
}

namespace {

uno::Reference<com::sun::star::document::XActionLockable> ActionLock(CalcBook& book) {
  return uno::Reference<com::sun::star::document::XActionLockable>(book.Document().Model(),
                                                                   uno::UNO_QUERY_THROW);
}

}  // namespace

CalcSheet& CalcApplication::ActiveSheet() {
  return static_cast<CalcSheet&>(ActiveBook().ActiveSheet());
}

// The host draws nothing while screen updating is off; Calc's views of the active document are
// locked until it is switched back on, and so is its painting and row-height fitting (the
// document's action lock).
void CalcApplication::SetScreenUpdating(bool enable) {
  if (!enable && locked_ == nullptr && active_ != nullptr) {
    active_->Document().Model()->lockControllers();
    ActionLock(*active_)->addActionLock();
    locked_ = active_;
  } else if (enable && locked_ != nullptr) {
    ActionLock(*locked_)->removeActionLock();
    locked_->Document().Model()->unlockControllers();
    locked_ = nullptr;
  }
}

void CalcApplication::SetCutCopyMode(bool mode) {
  if (!mode) copied_.reset();
}

tavrin::Range CalcApplication::Selection() {
  CalcSheet& sheet = ActiveSheet();
  uno::Reference<com::sun::star::view::XSelectionSupplier> supplier(
      ActiveBook().Document().Controller(), uno::UNO_QUERY);
  std::vector<Area> areas;
  if (supplier.is()) {
    uno::Any selected = supplier->getSelection();
    uno::Reference<sheet::XSheetCellRanges> several(selected, uno::UNO_QUERY);
    uno::Reference<sheet::XCellRangeAddressable> one(selected, uno::UNO_QUERY);
    if (several.is()) {
      for (const table::CellRangeAddress& address : several->getRangeAddresses()) {
        if (std::optional<Area> area = Clipped(AreaOf(address))) areas.push_back(*area);
      }
    } else if (one.is()) {
      if (std::optional<Area> area = Clipped(AreaOf(one->getRangeAddress())))
        areas.push_back(*area);
    }
  }
  if (areas.empty()) areas.push_back(Area{});
  return tavrin::Range(sheet, std::move(areas));
}

RangeOrValue CalcApplication::Evaluate(std::string_view text) {
  return EvaluateAddress(text, ActiveSheet(), [this](const std::string& name) -> Worksheet* {
    return ActiveBook().FindSheet(name);
  });
}

tavrin::Range CalcApplication::Range(std::string_view address) {
  RangeOrValue found = Evaluate(address);
  if (!found.IsRange()) throw HostError::ApplicationDefined();
  return found.AsRange();
}

WorksheetFunction& CalcApplication::WorksheetFunction() {
  return *functions_;
}

MenuBar& CalcApplication::MenuBars(int kind) {
  if (kind != xlWorksheet) throw HostError::InvalidCall();
  return worksheetMenus_;
}

RangeOrValue CalcApplication::InputBox(const std::string& prompt, const std::string& title,
                                       const Variant&, const Variant&, const Variant&,
                                       const Variant&, const Variant&, int type) {
  return InputBoxAnswer(answerer_ ? answerer_(prompt, title) : std::nullopt, type,
                        [this](std::string_view address) { return Evaluate(address); });
}

}  // namespace tavrin

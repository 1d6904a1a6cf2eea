#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <com/sun/star/sheet/XSpreadsheetDocument.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "calc/calc_book.h"
#include "host/application.h"
#include "host/command_bar_model.h"

namespace tavrin {

class CalcWindows;
class CalcFunctions;

// LibreOffice Calc as the host application: the spreadsheet documents the toolbox has met, the
// active one, and the application's switches. Screen updating off locks the active document's
// views until it is switched back on.
class CalcApplication : public Application {
 public:
  // Answers an input box: the text typed, or nothing when cancelled.
  using InputAnswerer = std::function<std::optional<std::string>(const std::string& prompt,
                                                                 const std::string& title)>;

  explicit CalcApplication(uno::Reference<uno::XComponentContext> context);
  ~CalcApplication() override;

  const uno::Reference<uno::XComponentContext>& Context() const { return context_; }
  // The workbook of a document, added the first time it is met.
  CalcBook& BookOf(const uno::Reference<sheet::XSpreadsheetDocument>& document,
                   const std::string& name = "");
  // Forgets a document that closed.
  void Forget(CalcBook& book);
  void SetActive(CalcBook& book) { active_ = &book; }
  void SetThisWorkbook(CalcBook& book) { this_ = &book; }
  void SetInputAnswerer(InputAnswerer answerer) { answerer_ = std::move(answerer); }
  const std::vector<std::unique_ptr<CalcBook>>& Books() const { return books_; }
  // The range last copied, which a paste takes.
  const std::optional<tavrin::Range>& Copied() const { return copied_; }
  void SetCopied(std::optional<tavrin::Range> range) { copied_ = std::move(range); }

  bool Visible() const override { return visible_; }
  void SetVisible(bool visible) override { visible_ = visible; }
  tavrin::Windows& Windows() override;
  Window& ActiveWindow() override;
  Workbook& ActiveWorkbook() override { return ActiveBook(); }
  CalcBook& ActiveBook();
  Workbook& ThisWorkbook() override;

  bool EnableEvents() const override { return enableEvents_; }
  void SetEnableEvents(bool enable) override { enableEvents_ = enable; }
  bool ScreenUpdating() const override { return locked_ == nullptr; }
  void SetScreenUpdating(bool enable) override;
  bool CutCopyMode() const override { return copied_.has_value(); }
  void SetCutCopyMode(bool mode) override;

  tavrin::Range Selection() override;
  RangeOrValue Evaluate(std::string_view text) override;
  tavrin::Range Range(std::string_view address) override;
  tavrin::WorksheetFunction& WorksheetFunction() override;
  tavrin::CommandBars& CommandBars() override { return bars_; }
  MenuBar& MenuBars(int kind) override;
  RangeOrValue InputBox(const std::string& prompt, const std::string& title,
                        const Variant& defaultValue, const Variant& left, const Variant& top,
                        const Variant& helpFile, const Variant& helpContextId, int type) override;

 private:
  CalcSheet& ActiveSheet();

  uno::Reference<uno::XComponentContext> context_;
  std::vector<std::unique_ptr<CalcBook>> books_;
  CalcBook* active_ = nullptr;
  CalcBook* this_ = nullptr;
  CalcBook* locked_ = nullptr;
  InputAnswerer answerer_;
  std::optional<tavrin::Range> copied_;
  std::unique_ptr<CalcWindows> windows_;
  std::unique_ptr<CalcFunctions> functions_;
  Bars bars_;
  LegacyMenuBar worksheetMenus_{bars_.Item(Bars::kWorksheetMenuBar)};
  bool visible_ = true;
  bool enableEvents_ = true;
};

}  // namespace tavrin

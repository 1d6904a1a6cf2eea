#pragma once

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/application.h"
#include "host/cell_function.h"
#include "host/command_bar_model.h"
#include "host/user_locale.h"
#include "spreadsheet/cell_block.h"

namespace tavrin {

class Book;
class Sheet;
class BookWindows;
class SheetFunctions;

// The embedded host application: its workbooks, their windows, the active workbook, the
// clipboard and the application's switches.
class Spreadsheet : public Application {
 public:
  // Answers an input box: the text typed, or nothing when cancelled.
  using InputAnswerer = std::function<std::optional<std::string>(const std::string& prompt,
                                                                 const std::string& title)>;

  explicit Spreadsheet(UserLocale locale = {});
  ~Spreadsheet() override;

  // A new workbook without sheets; it becomes the active one. A name in use fails (1004).
  Book& AddWorkbook(const std::string& name);
  // Takes a workbook away, as a file that failed half way through reading does; when it was the
  // active one, the workbook added last before it becomes active.
  void RemoveWorkbook(Book& book);
  // A workbook by name (letter case ignored); a missing one fails (9).
  Book& GetWorkbook(const std::string& name);
  // Workbooks in the order they were added.
  int WorkbookCount() const { return static_cast<int>(books_.size()); }
  Book& GetWorkbook(int index);
  // The host workbook that ThisWorkbook gives.
  void SetThisWorkbook(Book& book) { thisBook_ = &book; }
  void SetInputAnswerer(InputAnswerer answerer) { answerer_ = std::move(answerer); }
  // Called before each operation that changes a sheet's cells or rows, when the workbook is as
  // one operation left it: the host's moment to let its window answer the user during a long
  // run. Nothing by default.
  void SetBetweenOperations(std::function<void()> pause) { betweenOperations_ = std::move(pause); }
  void BetweenOperations() const {
    if (betweenOperations_) betweenOperations_();
  }
  const UserLocale& Locale() const { return locale_; }

  // The clipboard: the block last copied, or nothing.
  const std::optional<CellBlock>& Clipboard() const { return clipboard_; }
  void SetClipboard(CellBlock block) { clipboard_ = std::move(block); }
  // Whether formulas and WorksheetFunction.Match answer repeated exact lookups and equality
  // criteria from lookup indexes (on by default; off only to measure what the indexes save).
  bool LookupIndexEnabled() const { return lookupIndexEnabled_; }
  void SetLookupIndexEnabled(bool enabled) { lookupIndexEnabled_ = enabled; }
  // Adds a function that cell formulas call by name (letter case ignored), as the host runs an
  // add-in's; the host's own function of a name comes first. Results computed before stay
  // until the content changes.
  void AddCellFunction(std::string_view name, CellFunction function);
  // The added function of an upper-case name, nullptr when none.
  const CellFunction* FindCellFunction(std::string_view name) const;
  // The clock TODAY and NOW read: the date and time as a serial day number (1900-01-01 is 1, the
  // time its fraction). By default the system's local time; tests fix it.
  using Clock = std::function<double()>;
  void SetClock(Clock clock) { clock_ = std::move(clock); }
  double Now() const;

  bool Visible() const override { return visible_; }
  void SetVisible(bool visible) override { visible_ = visible; }
  tavrin::Windows& Windows() override;
  Window& ActiveWindow() override;
  // The active workbook; none fails (91).
  Workbook& ActiveWorkbook() override;
  Book& ActiveBook();
  // The host workbook; none set fails (91).
  Workbook& ThisWorkbook() override;

  bool EnableEvents() const override { return enableEvents_; }
  void SetEnableEvents(bool enable) override { enableEvents_ = enable; }
  bool ScreenUpdating() const override { return screenUpdating_; }
  void SetScreenUpdating(bool enable) override { screenUpdating_ = enable; }
  // True while the clipboard holds a copied block; setting False empties it, setting True does
  // nothing (as in the host).
  bool CutCopyMode() const override { return clipboard_.has_value(); }
  void SetCutCopyMode(bool mode) override;

  tavrin::Range Selection() override;
  // An address gives its range on the active sheet, or on the active workbook's sheet it names
  // (#REF! when there is no such sheet); "" gives #VALUE!, any other text #NAME?.
  RangeOrValue Evaluate(std::string_view text) override;
  tavrin::Range Range(std::string_view address) override;
  tavrin::WorksheetFunction& WorksheetFunction() override;
  tavrin::CommandBars& CommandBars() override { return bars_; }
  MenuBar& MenuBars(int kind) override;
  // Type 8 asks the input answerer for an address (a leading "=" allowed) and gives its range;
  // cancelled, or an answer that is no address, gives False. Other types give the text typed.
  RangeOrValue InputBox(const std::string& prompt, const std::string& title,
                        const Variant& defaultValue, const Variant& left, const Variant& top,
                        const Variant& helpFile, const Variant& helpContextId, int type) override;

 private:
  friend class Book;
  void SetActive(Book& book) { activeBook_ = &book; }
  Sheet& ActiveSheet();

  UserLocale locale_;
  std::vector<std::unique_ptr<Book>> books_;
  Book* activeBook_ = nullptr;
  Book* thisBook_ = nullptr;
  InputAnswerer answerer_;
  std::function<void()> betweenOperations_;
  std::optional<CellBlock> clipboard_;
  std::unique_ptr<BookWindows> windows_;
  std::unique_ptr<SheetFunctions> functions_;
  Bars bars_;
  LegacyMenuBar worksheetMenus_{bars_.Item(Bars::kWorksheetMenuBar)};
  bool visible_ = true;
  bool enableEvents_ = true;
  bool screenUpdating_ = true;
  bool lookupIndexEnabled_ = true;
  std::map<std::string, CellFunction, std::less<>> cellFunctions_;
  Clock clock_;
};

}  // namespace tavrin

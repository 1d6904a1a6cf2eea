#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "host/command_bars.h"
#include "host/range.h"
#include "host/variant.h"

namespace tavrin {

class Workbook;
class Windows;
class Window;
class WorksheetFunction;

// What Evaluate and InputBox give: a range, or a value (an error value for a text that is no
// reference, False for a cancelled prompt). Taking a value as a range fails with the runtime's
// object-required error (424), as assigning it to a range variable would.
class RangeOrValue {
 public:
  RangeOrValue(tavrin::Range range) : range_(std::move(range)) {}
  RangeOrValue(Variant value) : value_(std::move(value)) {}

  bool IsRange() const { return range_.has_value(); }
  const tavrin::Range& AsRange() const;
  // The value; a range gives the value of its first cell.
  Variant Value() const;

 private:
  std::optional<tavrin::Range> range_;
  Variant value_;
};

class Worksheet;

// Evaluate of a text, as the host gives it: an address gives its range on the active sheet, or
// on the sheet of the active workbook it names (#REF! when `sheetNamed` finds none); "" gives
// #VALUE!, any other text #NAME?.
RangeOrValue EvaluateAddress(std::string_view text, Worksheet& activeSheet,
                             const std::function<Worksheet*(const std::string&)>& sheetNamed);

// What an input box gives for the text typed (nothing when cancelled): the text, or with type 8
// the range it names through `evaluate` (a leading "=" allowed). A cancelled prompt, or an answer
// that is no reference, gives False: the host would ask again, here it counts as cancelled.
RangeOrValue InputBoxAnswer(const std::optional<std::string>& answer, int type,
                            const std::function<RangeOrValue(std::string_view)>& evaluate);

// The host application.
class Application {
 public:
  virtual ~Application() = default;

  virtual bool Visible() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual tavrin::Windows& Windows() = 0;
  virtual Window& ActiveWindow() = 0;
  virtual Workbook& ActiveWorkbook() = 0;
  // The workbook that carries the component's dialogs (the host workbook).
  virtual Workbook& ThisWorkbook() = 0;

  virtual bool EnableEvents() const = 0;
  virtual void SetEnableEvents(bool enable) = 0;
  virtual bool ScreenUpdating() const = 0;
  virtual void SetScreenUpdating(bool enable) = 0;
  virtual bool CutCopyMode() const = 0;
  virtual void SetCutCopyMode(bool mode) = 0;

  // The current selection on the active sheet.
  virtual tavrin::Range Selection() = 0;
  // An address text gives its range (on the active sheet unless it names one); anything else
  // gives a value.
  virtual RangeOrValue Evaluate(std::string_view text) = 0;
  // An address text on the active sheet, or on the sheet it names; no address fails (1004).
  virtual tavrin::Range Range(std::string_view address) = 0;
  virtual tavrin::WorksheetFunction& WorksheetFunction() = 0;

  // The command bars ("Worksheet Menu Bar", toolbars) and the legacy menu collection
  // (MenuBars(xlWorksheet)); another kind of menu bar fails (5).
  virtual tavrin::CommandBars& CommandBars() = 0;
  virtual MenuBar& MenuBars(int kind) = 0;

  // The host's input box. Type 8 asks for a range and answers it, or False when cancelled.
  // Left and Top are the prompt's position in points.
  virtual RangeOrValue InputBox(const std::string& prompt, const std::string& title,
                                const Variant& defaultValue, const Variant& left,
                                const Variant& top, const Variant& helpFile,
                                const Variant& helpContextId, int type) = 0;
};

}  // namespace tavrin

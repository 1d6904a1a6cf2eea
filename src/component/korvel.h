#pragma once

#include <cstdint>
#include <string>

#include "host/application.h"
#include "host/form.h"
#include "host/runtime.h"
#include "host/variant.h"
#include "host/workbook.h"

namespace tavrin {

class RunFrame;

// The toolbox component. The host workbook creates one, assigns xlBook, calls CSH; its dialogs
// then call the tool methods with the token read from "bf"!A1 and themselves.
class Korvel {
 public:
  // The library title, shown on message boxes given no title of their own.
  static constexpr const char* kLibraryTitle = "Tavrin";
  // The title of the toolbox's own message boxes.
  static constexpr const char* kTitle = "Lumo提示";

  explicit Korvel(Runtime& services) : runtime(services) {}

  // The xlBook property: the host workbook, assigned by reference before CSH.
  Workbook* XlBook() const { return xlBook; }
  void SetXlBook(Workbook& book) { xlBook = &book; }

  // Initialisation: attaches to the running host, draws the token into "bf"!A1, builds the
  // menu and the toolbar. A failure stops it at that step and reaches the caller.
  void CSH();
  // Opens a new information window and returns at once.
  void ShowInfo();

  // Number-base conversion, bases 2 to 16; messages are returned as the result.
  Variant BaseToBase(const Variant& numberStr, std::uint8_t InputBase, std::uint8_t OutputBase,
                     const Variant& ListSeparator = Variant(0));
  Variant DecTo(const Variant& DecNumber, std::uint8_t jz,
                const Variant& ListSeparator = Variant(0));
  Variant ToDec(const Variant& numberStr, std::uint8_t jz);

  // The tools, in interface order. WD is the token, Obj1 the dialog that calls.
  void HzCzBcf(const std::string& WD, Form& Obj1);
  void HZ(const std::string& WD, Form& Obj1);
  void HZCZSZ(const std::string& WD, Form& Obj1);
  void SJFQ(const std::string& WD, Form& Obj1);
  void FYXJYHJ(const std::string& WD, Form& Obj1);
  void SC0(const std::string& WD, Form& Obj1);
  void SCGS0(const std::string& WD, Form& Obj1);
  void DSYCZ(const std::string& WD, Form& Obj1);
  void QDZBG(const std::string& WD, Form& Obj1);
  void BGZQD(const std::string& WD, Form& Obj1);

  // The fields, read-only, for the host workbook's side and for tests.
  const std::string& InitToken() const { return initToken; }
  const std::string& MacroPrefix() const { return macroPrefix; }
  const std::string& SavedSelection() const { return savedSelection; }
  // Whether the last tool run reached its normal close; false when one of its checks, a
  // question answered No or Cancel, or a failure ended it before.
  bool RunFinished() const { return runFinished; }

 private:
  friend class RunFrame;

  // The menu "Tavrin(&U)" on the worksheet menu bar, and the toolbar "Tavrin".
  void BuildMenu();
  void BuildToolbar();
  // xlApp, or the runtime's failure for an unset object variable.
  Application& App();

  Runtime& runtime;
  Workbook* xlBook = nullptr;
  std::string initToken;
  Application* xlApp = nullptr;
  std::string macroPrefix;
  std::string savedSelection;
  bool runFinished = false;
};

}  // namespace tavrin

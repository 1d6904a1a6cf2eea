#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "session/dialog_form.h"
#include "session/host_session.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"
#include "support/scripted_runtime.h"

namespace tavrin {

// What a toolbox test works in: the embedded spreadsheet with the user's workbook
// "Book1.xlsx" (sheet "Sheet1", active) and the host workbook "Tavrin.xls" (sheet "bf"), the
// component initialised by CSH, a dialog, and a scripted runtime.
//   Workplace w;
//   w.Put("A1", {{"key", "value"}, {"a", 1}});
//   w.Fill({{"RefEdit1", "A1:B2"}});
//   w.korvel().QDZBG(w.Token(), w.form);
//   EXPECT_EQ(w.Texts(), (std::vector<std::string>{"..."}));
class Workplace {
 public:
  Workplace();

  Korvel& korvel() { return session->Component(); }
  Book& book() { return *userBook; }
  Sheet& sheet();
  std::string Token() { return session->Token(); }

  // Writes rows of values from a top-left cell of the active sheet.
  void Put(std::string_view topLeft, const std::vector<std::vector<Variant>>& rows);
  Variant At(std::string_view address);
  std::string FormulaAt(std::string_view address);

  // Sets controls of the dialog.
  void Fill(const std::vector<std::pair<std::string, Variant>>& controls);

  // The texts of the message boxes shown, in order, and the titles.
  std::vector<std::string> Texts() const;
  std::vector<std::string> Titles() const;

  ScriptedRuntime runtime;
  // The tools' pages are counted on Letter paper, a North American user's default printer's.
  Spreadsheet app{UserLocale{.defaultPaper = SheetLayout::kPaperLetter}};
  DialogForm form;

 private:
  Book* userBook;
  std::unique_ptr<HostSession> session;
};

}  // namespace tavrin

namespace tavrin {

// A host workbook of a given name and sheet alone, with the component bound to it but not yet
// initialised: for the cases Workplace's own host workbook cannot show.
struct LoneHost {
  LoneHost(const std::string& bookName, const std::string& sheetName);

  ScriptedRuntime runtime;
  Spreadsheet app;
  Book& host;
  Korvel korvel{runtime};
};

}  // namespace tavrin

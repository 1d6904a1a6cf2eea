#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "calc/calc_document.h"
#include "calc/calc_sheet.h"
#include "host/workbook.h"

namespace tavrin {

class CalcApplication;

// A Calc spreadsheet document as the host's workbook, with its sheets.
class CalcBook : public Workbook, public Sheets {
 public:
  // `name` is the workbook's name as the host shows it; empty takes the document's title.
  CalcBook(CalcApplication& application, uno::Reference<sheet::XSpreadsheetDocument> document,
           std::string name = "");

  CalcDocument& Document() { return document_; }
  CalcApplication& App() { return app_; }
  CalcSheet& SheetOf(const uno::Reference<sheet::XSpreadsheet>& sheet);
  // Makes the sheet the one shown, in the view when the document has one.
  void SetActiveSheet(CalcSheet& sheet);
  // The sheet of a name, letter case ignored, or nullptr.
  CalcSheet* FindSheet(const std::string& name);

  std::string Name() const override;
  Application& Parent() override;
  Worksheet& ActiveSheet() override;
  tavrin::Sheets& Sheets() override { return *this; }

  int Count() override;
  Worksheet& Item(int index) override;
  Worksheet& Item(const std::string& name) override;

 private:
  CalcApplication& app_;
  CalcDocument document_;
  std::string name_;
  // Sheets by upper-case name; a sheet object outlives a rename, as ranges may hold it.
  std::map<std::string, CalcSheet*> sheets_;
  std::vector<std::unique_ptr<CalcSheet>> made_;
  CalcSheet* activeSheet_ = nullptr;
};

}  // namespace tavrin

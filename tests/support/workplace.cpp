#include "support/workplace.h"

namespace tavrin {

Workplace::Workplace() : userBook(&app.AddWorkbook("Book1.xlsx")) {
  userBook->AddSheet("Sheet1");
  runtime.running = &app;
  session = std::make_unique<HostSession>(app, runtime);
  // The user works in their own workbook once the host workbook is open.
  userBook->Activate();
  runtime.shown.clear();
}

Sheet& Workplace::sheet() {
  return static_cast<Sheet&>(userBook->ActiveSheet());
}

void Workplace::Put(std::string_view topLeft, const std::vector<std::vector<Variant>>& rows) {
  Range corner = sheet().Range(topLeft);
  for (size_t r = 0; r < rows.size(); ++r) {
    for (size_t c = 0; c < rows[r].size(); ++c) {
      corner.Cells(static_cast<int>(r) + 1, static_cast<int>(c) + 1).SetValue(rows[r][c]);
    }
  }
}

Variant Workplace::At(std::string_view address) {
  return sheet().Range(address).Value();
}

std::string Workplace::FormulaAt(std::string_view address) {
  return sheet().Range(address).Formula();
}

void Workplace::Fill(const std::vector<std::pair<std::string, Variant>>& controls) {
  for (const auto& [name, value] : controls) form.Set(name, value);
}

std::vector<std::string> Workplace::Texts() const {
  std::vector<std::string> texts;
  for (const auto& shown : runtime.shown) texts.push_back(shown.text);
  return texts;
}

std::vector<std::string> Workplace::Titles() const {
  std::vector<std::string> titles;
  for (const auto& shown : runtime.shown) titles.push_back(shown.title);
  return titles;
}

}  // namespace tavrin

namespace tavrin {

LoneHost::LoneHost(const std::string& bookName, const std::string& sheetName)
    : host(app.AddWorkbook(bookName)) {
  host.AddSheet(sheetName);
  app.SetThisWorkbook(host);
  runtime.running = &app;
  korvel.SetXlBook(host);
}

}  // namespace tavrin

#pragma once

#include <any>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/workbook.h"
#include "spreadsheet/spreadsheet.h"
#include "spreadsheet/windows.h"

namespace tavrin {

class Sheet;
class Book;

// The host's sheet names: at most 31 characters, none of these.
constexpr size_t kMaxSheetName = 31;
constexpr std::string_view kSheetNameForbidden = ":\\/?*[]";

// The length in bytes of the longest head of a name that holds at most `most` characters as the
// host counts them, never cutting inside a character.
size_t SheetNameHead(std::string_view name, size_t most);

// A workbook's sheets, by number from 1 or by name (letter case ignored); a missing one fails (9).
class BookSheets : public Sheets {
 public:
  explicit BookSheets(Book& book) : book_(book) {}

  int Count() override;
  Worksheet& Item(int index) override;
  Worksheet& Item(const std::string& name) override;

 private:
  Book& book_;
};

// A workbook of the embedded spreadsheet: its sheets in order, the active sheet and its window.
class Book : public Workbook {
 public:
  Book(Spreadsheet& application, std::string name);
  ~Book() override;

  // A new sheet at the end; the first sheet added becomes the active one. A name in use (letter
  // case ignored), empty, longer than 31 characters (a character beyond U+FFFF counts two, as in
  // the host) or holding one of : \ / ? * [ ] fails (1004).
  Sheet& AddSheet(const std::string& name);
  // By number from 1, or by name (letter case ignored); missing fails (9).
  Sheet& GetSheet(int index);
  Sheet& GetSheet(const std::string& name);
  // The sheet of that name, or nullptr.
  Sheet* FindSheet(const std::string& name);
  int SheetCount() const { return static_cast<int>(sheets_.size()); }
  // Makes this the application's active workbook.
  void Activate();
  // A copy of the sheet, placed after another sheet of this workbook and named as the host names
  // copies ("Name (2)", the first number free; a long name is cut before the number so the whole
  // keeps within 31 characters); it becomes the active sheet.
  Sheet& CopySheet(const Sheet& source, const Sheet& after);
  BookWindow& GetWindow() { return window_; }
  // What the file the workbook was read from leaves for writing it back (the file reader's own
  // type); empty for a workbook made in memory.
  const std::any& Origin() const { return origin_; }
  void SetOrigin(std::any origin) { origin_ = std::move(origin); }
  // The cell formats the workbook gained since it was read (the file writer's own type, as the
  // origin is); empty when it gained none.
  const std::any& AddedFormats() const { return addedFormats_; }
  std::any& AddedFormats() { return addedFormats_; }

  std::string Name() const override { return name_; }
  Spreadsheet& Parent() override { return application_; }
  // The active sheet; a workbook without sheets fails (91).
  Worksheet& ActiveSheet() override;
  Sheet& GetActiveSheet();
  tavrin::Sheets& Sheets() override { return sheetList_; }

 private:
  friend class Sheet;
  friend class BookCopy;
  void SetActiveSheet(Sheet& sheet) { activeSheet_ = &sheet; }
  std::string CopyName(const std::string& name);

  Spreadsheet& application_;
  std::string name_;
  std::vector<std::unique_ptr<Sheet>> sheets_;
  Sheet* activeSheet_ = nullptr;
  BookSheets sheetList_{*this};
  BookWindow window_{*this};
  std::any origin_;
  std::any addedFormats_;
};

}  // namespace tavrin

#include "spreadsheet/book.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "host/host_error.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

// The name without a " (n)" at its end, as the host counts copies on from it.
std::string_view UnnumberedName(std::string_view name) {
  if (!name.ends_with(')')) return name;
  size_t open = name.rfind(" (");
  if (open == std::string_view::npos || open + 3 > name.size() - 1) return name;
  std::string_view digits = name.substr(open + 2, name.size() - open - 3);
  bool allDigits =
      std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
  return allDigits ? name.substr(0, open) : name;
}

bool IsValidSheetName(const std::string& name) {
  return !name.empty() && SheetNameHead(name, kMaxSheetName) == name.size() &&
         name.find_first_of(kSheetNameForbidden) == std::string::npos;
}

}  // namespace

// The host counts a name in UTF-16 units, so a character beyond U+FFFF counts two; a broken byte
// sequence counts one.
size_t SheetNameHead(std::string_view name, size_t most) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(name.data());
  int32_t length = static_cast<int32_t>(std::min<size_t>(name.size(), INT32_MAX));
  size_t characters = 0;
  for (int32_t i = 0; i < length;) {
    int32_t start = i;
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    characters += c > 0xFFFF ? 2 : 1;
    if (characters > most) return static_cast<size_t>(start);
  }
  return name.size();
}

int BookSheets::Count() {
  return book_.SheetCount();
}
Worksheet& BookSheets::Item(int index) {
  return book_.GetSheet(index);
}
Worksheet& BookSheets::Item(const std::string& name) {
  return book_.GetSheet(name);
}

Book::Book(Spreadsheet& application, std::string name)
    : application_(application), name_(std::move(name)) {}

Book::~Book() = default;

Sheet& Book::AddSheet(const std::string& name) {
  if (!IsValidSheetName(name) || FindSheet(name) != nullptr) throw HostError::ApplicationDefined();
  sheets_.push_back(std::make_unique<Sheet>(*this, name));
  if (activeSheet_ == nullptr) activeSheet_ = sheets_.back().get();
  return *sheets_.back();
}

Sheet& Book::GetSheet(int index) {
  if (index < 1 || index > SheetCount()) throw HostError::SubscriptOutOfRange();
  return *sheets_[index - 1];
}

Sheet& Book::GetSheet(const std::string& name) {
  Sheet* sheet = FindSheet(name);
  if (sheet == nullptr) throw HostError::SubscriptOutOfRange();
  return *sheet;
}

Sheet* Book::FindSheet(const std::string& name) {
  for (const auto& sheet : sheets_) {
    if (EqualsIgnoringCase(sheet->Name(), name)) return sheet.get();
  }
  return nullptr;
}

void Book::Activate() {
  application_.SetActive(*this);
}

Worksheet& Book::ActiveSheet() {
  return GetActiveSheet();
}

Sheet& Book::GetActiveSheet() {
  if (activeSheet_ == nullptr) throw HostError::ObjectVariableNotSet();
  return *activeSheet_;
}

Sheet& Book::CopySheet(const Sheet& source, const Sheet& after) {
  auto position = std::find_if(sheets_.begin(), sheets_.end(),
                               [&](const auto& sheet) { return sheet.get() == &after; });
  if (position == sheets_.end()) throw HostError::MethodFailed("Worksheet", "Copy");
  auto copy = std::make_unique<Sheet>(*this, CopyName(source.Name()), source);
  Sheet& added = **sheets_.insert(position + 1, std::move(copy));
  activeSheet_ = &added;
  return added;
}

// "Name (2)", "Name (3)", ...: the first name free. A copy of "Name (2)" counts on from "Name".
// As in the host, the name is cut short before the number so the whole stays within the limit.
std::string Book::CopyName(const std::string& name) {
  std::string base(UnnumberedName(name));
  for (int n = 2;; ++n) {
    std::string number = " (" + std::to_string(n) + ")";
    std::string candidate =
        base.substr(0, SheetNameHead(base, kMaxSheetName - number.size())) + number;
    if (FindSheet(candidate) == nullptr) return candidate;
  }
}

}  // namespace tavrin

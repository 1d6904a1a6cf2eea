#include "io/csv_file.h"

#include <vector>

#include "host/variant_rules.h"
#include "io/file_error.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/text_compare.h"
#include "spreadsheet/typed_entry.h"

namespace tavrin {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

using Record = std::vector<std::string>;

std::vector<Record> ParseRecords(std::string_view text) {
  std::vector<Record> records;
  Record record;
  std::string field;
  size_t i = 0;
  auto endField = [&] { record.push_back(std::move(field)), field.clear(); };
  auto endRecord = [&] { endField(), records.push_back(std::move(record)), record.clear(); };
  while (i < text.size()) {
    char c = text[i++];
    if (c == '"') {  // a quoted run: up to the quote that is not doubled
      for (; i < text.size(); ++i) {
        if (text[i] != '"') {
          field += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '"') {
          field += '"', ++i;
        } else {
          ++i;
          break;
        }
      }
    } else if (c == ',') {
      endField();
    } else if (c == '\n' || c == '\r') {
      if (c == '\r' && i < text.size() && text[i] == '\n') ++i;
      endRecord();
    } else {
      field += c;
    }
  }
  if (!field.empty() || !record.empty()) endRecord();
  return records;
}

Variant FieldValue(const std::string& field) {
  static const UserLocale kPointLocale;
  if (field.empty()) return {};
  if (std::optional<double> number = ReadNumber(field, kPointLocale)) return *number;
  if (EqualsIgnoringCase(field, "TRUE")) return Variant::Boolean(true);
  if (EqualsIgnoringCase(field, "FALSE")) return Variant::Boolean(false);
  return field;
}

void AppendField(std::string& out, const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) {
    out += text;
    return;
  }
  out += '"';
  for (char c : text) out += c == '"' ? "\"\"" : std::string(1, c);
  out += '"';
}

}  // namespace

Book& ReadCsv(Spreadsheet& application, const std::string& bookName, const std::string& sheetName,
              std::string_view text) {
  std::vector<Record> records = ParseRecords(text);
  if (records.size() > static_cast<size_t>(kLastRow)) {
    throw FormatError("it has more than " + std::to_string(kLastRow) + " lines");
  }
  for (const Record& record : records) {
    if (record.size() > static_cast<size_t>(kLastColumn)) {
      throw FormatError("a line has more than " + std::to_string(kLastColumn) + " fields");
    }
  }
  Book& book = application.AddWorkbook(bookName);
  Sheet& sheet = book.AddSheet(sheetName);
  for (size_t r = 0; r < records.size(); ++r) {
    for (size_t c = 0; c < records[r].size(); ++c) {
      Variant value = FieldValue(records[r][c]);
      if (!value.IsEmpty()) {
        sheet.Store().SetContent(static_cast<int>(r + 1), static_cast<int>(c + 1), std::move(value),
                                 nullptr);
      }
    }
  }
  return book;
}

std::string WriteCsv(Sheet& sheet) {
  std::optional<Area> content = sheet.UsedArea();
  std::string out(kByteOrderMark);
  if (!content) return out;
  // From A1, as the host saves a sheet: empty rows and columns before the first value are kept.
  Area used{1, 1, content->LastRow(), content->LastColumn()};
  Block values = sheet.Values(used);
  for (int r = 1; r <= used.rows; ++r) {
    for (int c = 1; c <= used.columns; ++c) {
      if (c > 1) out += ',';
      AppendField(out, DisplayText(values(r, c), sheet.Locale()));
    }
    out += "\r\n";
  }
  return out;
}

}  // namespace tavrin

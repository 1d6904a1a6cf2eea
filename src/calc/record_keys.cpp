#include "calc/record_keys.h"

#include <cstring>

#include <unicode/uchar.h>
#include <unicode/utf8.h>

namespace tavrin {

namespace {

void AppendFolded(std::string& key, const std::string& text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  int32_t length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) {
    UChar32 character;
    U8_NEXT(bytes, i, length, character);
    UChar32 folded = u_foldCase(character < 0 ? 0xFFFD : character, U_FOLD_CASE_DEFAULT);
    uint8_t out[U8_MAX_LENGTH];
    int32_t written = 0;
    U8_APPEND_UNSAFE(out, written, folded);
    key.append(reinterpret_cast<const char*>(out), static_cast<size_t>(written));
  }
}

}  // namespace

std::string RecordKey(const Block& block, int row) {
  std::string key;
  for (int c = 1; c <= block.Columns(); ++c) {
    const Variant& value = block(row, c);
    if (value.IsNumber() || value.IsDate()) {
      double number = value.AsNumber() == 0 ? 0.0 : value.AsNumber();
      char bytes[sizeof number];
      std::memcpy(bytes, &number, sizeof number);
      key += 'n';
      key.append(bytes, sizeof bytes);
    } else if (value.IsText()) {
      std::string folded;
      AppendFolded(folded, value.AsText());
      key += 't' + std::to_string(folded.size()) + ':' + folded;
    } else if (value.IsBoolean()) {
      key += value.AsBoolean() ? "b1" : "b0";
    } else if (value.IsError()) {
      key += 'e' + std::to_string(static_cast<int>(value.AsError()));
    } else {
      key += 'z';
    }
  }
  return key;
}

}  // namespace tavrin

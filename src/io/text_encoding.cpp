#include "io/text_encoding.h"

#include <unicode/ucnv.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <climits>
#include <memory>

#include "io/file_error.h"

namespace tavrin {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
constexpr char16_t kByteOrderMark = 0xFEFF;
constexpr UChar32 kReplacement = 0xFFFD;

struct ConverterCloser {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
using Converter = std::unique_ptr<UConverter, ConverterCloser>;

Converter Open(std::string_view name) {
  UErrorCode status = U_ZERO_ERROR;
  Converter converter(ucnv_open(std::string(name).c_str(), &status));
  if (U_FAILURE(status)) converter.reset();
  return converter;
}

int32_t Length(size_t size) {
  if (size > INT32_MAX / 2) throw FormatError("it is too large to read as text");
  return static_cast<int32_t>(size);
}

// The bytes in UTF-16, by the converter; what is no character becomes U+FFFD.
std::u16string ToUtf16(UConverter& converter, std::string_view bytes) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t units =
      ucnv_toUChars(&converter, nullptr, 0, bytes.data(), Length(bytes.size()), &status);
  std::u16string text(static_cast<size_t>(units), u'\0');
  status = U_ZERO_ERROR;
  ucnv_toUChars(&converter, text.data(), units + 1, bytes.data(), Length(bytes.size()), &status);
  if (U_FAILURE(status))
    throw FormatError(std::string("its text cannot be read (") + u_errorName(status) + ")");
  return text;
}

std::string ToUtf8(std::u16string_view text) {
  UErrorCode status = U_ZERO_ERROR;
  int32_t length = 0;
  u_strToUTF8WithSub(nullptr, 0, &length, text.data(), Length(text.size()), kReplacement, nullptr,
                     &status);
  std::string bytes(static_cast<size_t>(length), '\0');
  status = U_ZERO_ERROR;
  u_strToUTF8WithSub(bytes.data(), length + 1, &length, text.data(), Length(text.size()),
                     kReplacement, nullptr, &status);
  if (U_FAILURE(status))
    throw FormatError(std::string("its text cannot be read (") + u_errorName(status) + ")");
  return bytes;
}

}  // namespace

bool IsKnownEncoding(std::string_view name) {
  return !name.empty() && Open(name) != nullptr;
}

bool IsUtf8(std::string_view bytes) {
  const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
  size_t size = bytes.size();
  for (size_t i = 0; i < size;) {
    if (data[i] < 0x80) {
      ++i;
      continue;
    }
    int32_t at = 0;
    int32_t length = static_cast<int32_t>(std::min<size_t>(size - i, 4));
    UChar32 c;
    U8_NEXT(data + i, at, length, c);
    if (c == U_SENTINEL) return false;
    i += static_cast<size_t>(at);
  }
  return true;
}

std::string DecodeText(std::string_view bytes, std::string_view encoding) {
  std::string_view name = encoding;
  if (name.empty()) {
    if (bytes.starts_with(kUtf16LittleEndianMark)) {
      name = "UTF-16LE";
    } else if (bytes.starts_with(kUtf16BigEndianMark)) {
      name = "UTF-16BE";
    } else {
      if (bytes.starts_with(kUtf8Mark)) bytes.remove_prefix(kUtf8Mark.size());
      if (IsUtf8(bytes)) return std::string(bytes);
      name = "GB18030";
    }
  }
  Converter converter = Open(name);
  if (!converter) throw FormatError("no character encoding is named \"" + std::string(name) + "\"");
  std::u16string text = ToUtf16(*converter, bytes);
  std::u16string_view view = text;
  if (view.starts_with(kByteOrderMark)) view.remove_prefix(1);
  return ToUtf8(view);
}

}  // namespace tavrin

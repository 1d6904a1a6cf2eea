#include <unicode/uchar.h>
#include <unicode/ucnv.h>
#include <unicode/ustring.h>

#include <cmath>
#include <memory>
#include <string>

#include "host/variant_rules.h"
#include "spreadsheet/formula/function_args.h"
#include "spreadsheet/formula/function_table.h"
#include "spreadsheet/formula/serial_date.h"
#include "spreadsheet/formula/text_format.h"
#include "spreadsheet/text_compare.h"

namespace tavrin {

namespace {

// Positions and lengths count UTF-16 units, as the host counts characters.
std::u16string Units(std::string_view text) {
  std::u16string units(text.size(), u'\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8WithSub(units.data(), static_cast<int32_t>(units.size()), &length, text.data(),
                       static_cast<int32_t>(text.size()), 0xFFFD, nullptr, &status);
  units.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
  return units;
}

std::string Utf8(std::u16string_view units) {
  std::string text(units.size() * 3, '\0');
  int32_t length = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(text.data(), static_cast<int32_t>(text.size()), &length, units.data(),
                     static_cast<int32_t>(units.size()), 0xFFFD, nullptr, &status);
  text.resize(U_SUCCESS(status) ? static_cast<size_t>(length) : 0);
  return text;
}

// The arguments of a text function, read cell by cell: the first error value wins, and the
// function gets them as texts (ValueText) or numbers as it asks.
class TextArgs {
 public:
  explicit TextArgs(const std::vector<Variant>& values) : values_(values) {}

  size_t Count() const { return values_.size(); }
  std::string Text(size_t i) const { return ValueText(values_[i]); }
  // A whole number (truncated), or nothing when the value reads as none.
  std::optional<double> Whole(size_t i) const {
    Variant number = ToNumber(values_[i]);
    if (number.IsError()) return std::nullopt;
    return std::trunc(number.AsNumber());
  }

 private:
  const std::vector<Variant>& values_;
};

template <class Compute>
Operand OfTexts(Evaluator& eval, const Args& args, Compute compute) {
  return Cellwise(eval, args, [&](const std::vector<Variant>& values) -> Variant {
    Variant error = FirstError(values);
    if (error.IsError()) return error;
    return compute(TextArgs(values));
  });
}

const Variant kValueError{ErrorValue::Value};

// LEFT and RIGHT: so many characters (1 when omitted) from the start or the end.
template <bool kLeft>
Operand Edge(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    std::optional<double> count = a.Count() > 1 ? a.Whole(1) : 1.0;
    if (!count || *count < 0) return kValueError;
    std::u16string text = Units(a.Text(0));
    size_t n = static_cast<size_t>(std::min<double>(*count, static_cast<double>(text.size())));
    return Variant(Utf8(kLeft ? text.substr(0, n) : text.substr(text.size() - n)));
  });
}

Operand Mid(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    std::optional<double> start = a.Whole(1), count = a.Whole(2);
    if (!start || !count || *start < 1 || *count < 0) return kValueError;
    std::u16string text = Units(a.Text(0));
    if (*start > static_cast<double>(text.size())) return Variant("");
    size_t from = static_cast<size_t>(*start) - 1;
    size_t n = static_cast<size_t>(std::min<double>(*count, static_cast<double>(text.size())));
    return Variant(Utf8(text.substr(from, n)));
  });
}

Operand Len(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    return Variant(static_cast<double>(Units(a.Text(0)).size()));
  });
}

// LENB counts bytes as the host's Chinese code page holds the text: one for an ASCII
// character, two for any other.
Operand LenB(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    double bytes = 0;
    for (char16_t unit : Units(a.Text(0))) bytes += unit < 0x80 ? 1 : 2;
    return Variant(bytes);
  });
}

// FIND (letter case counts, no wildcards) and SEARCH (letter case ignored, wildcards): the
// position of the first occurrence from the start position on; not found, or a start past the
// text's end, is #VALUE!.
template <bool kSearch>
Operand Find(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    std::u16string within = Units(a.Text(1));
    std::optional<double> start = a.Count() > 2 ? a.Whole(2) : 1.0;
    // A start past the text's end is #VALUE!, even for "" (an empty text is found at 1).
    if (!start || *start < 1 || (*start > static_cast<double>(within.size()) && *start != 1))
      return kValueError;
    size_t from = static_cast<size_t>(*start) - 1;
    if (!kSearch) {
      size_t at = within.find(Units(a.Text(0)), from);
      return at == std::u16string::npos ? kValueError : Variant(static_cast<double>(at + 1));
    }
    // Each character from the start position on is tried as a start, the text folded once.
    WildcardPattern pattern(a.Text(0));
    std::u32string folded = FoldCase(a.Text(1));
    size_t unit = 0;  // the UTF-16 position of character k
    for (size_t k = 0; k <= folded.size(); ++k) {
      if (unit >= from && pattern.MatchesFolded(std::u32string_view(folded).substr(k), true))
        return Variant(static_cast<double>(unit + 1));
      if (k < folded.size()) unit += folded[k] > 0xFFFF ? 2 : 1;
    }
    return kValueError;
  });
}

// SUBSTITUTE: every occurrence of the old text (letter case counts), or the numbered one.
Operand Substitute(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    std::string text = a.Text(0), old = a.Text(1), replacement = a.Text(2);
    std::optional<double> instance;
    if (a.Count() > 3) {
      instance = a.Whole(3);
      if (!instance || *instance < 1) return kValueError;
    }
    if (old.empty()) return Variant(text);
    std::string out;
    size_t at = 0;
    double seen = 0;
    for (size_t found; (found = text.find(old, at)) != std::string::npos; at = found + old.size()) {
      out.append(text, at, found - at);
      ++seen;
      out += !instance || seen == *instance ? replacement : old;
      // Past the longest text whatever follows: no need to build it all.
      if (out.size() > kMostTextLength * 4) return kValueError;
    }
    out.append(text, at);
    return TextResult(std::move(out));
  });
}

// REPLACE: so many characters from a position replaced by a new text.
Operand Replace(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    std::optional<double> start = a.Whole(1), count = a.Whole(2);
    if (!start || !count || *start < 1 || *count < 0) return kValueError;
    std::u16string text = Units(a.Text(0));
    size_t from =
        static_cast<size_t>(std::min<double>(*start - 1, static_cast<double>(text.size())));
    size_t n =
        static_cast<size_t>(std::min<double>(*count, static_cast<double>(text.size() - from)));
    text.replace(from, n, Units(a.Text(3)));
    return TextResult(Utf8(text));
  });
}

// TRIM: spaces at both ends gone, runs of spaces inside one space.
Operand Trim(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    std::string out;
    for (char c : a.Text(0)) {
      if (c == ' ' && (out.empty() || out.back() == ' ')) continue;
      out += c;
    }
    if (!out.empty() && out.back() == ' ') out.pop_back();
    return Variant(out);
  });
}

enum class Casing { Upper, Lower, Proper };

// UPPER, LOWER and PROPER (a letter following anything but a letter upper case, the others
// lower case), character by character.
template <Casing kCasing>
Operand ChangeCase(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    std::u16string text = Units(a.Text(0));
    std::u32string out;
    bool afterLetter = false;
    auto length = static_cast<int32_t>(text.size());
    for (int32_t i = 0; i < length;) {
      UChar32 c;
      U16_NEXT(text.data(), i, length, c);
      bool upper = kCasing == Casing::Upper || (kCasing == Casing::Proper && !afterLetter);
      afterLetter = u_isalpha(c);
      out.push_back(static_cast<char32_t>(upper ? u_toupper(c) : u_tolower(c)));
    }
    return Variant(tavrin::Utf8(out));
  });
}

Operand Concatenate(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    std::string out;
    for (size_t i = 0; i < a.Count(); ++i) out += a.Text(i);
    return TextResult(std::move(out));
  });
}

Operand Rept(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    std::optional<double> times = a.Whole(1);
    std::string text = a.Text(0);
    if (!times || *times < 0) return kValueError;
    if (text.empty()) return Variant("");
    if (*times > static_cast<double>(kMostTextLength)) return kValueError;
    std::string out;
    for (double i = 0; i < *times && out.size() <= kMostTextLength * 4; ++i) out += text;
    return TextResult(std::move(out));
  });
}

Operand Exact(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args,
                 [](const TextArgs& a) { return Variant::Boolean(a.Text(0) == a.Text(1)); });
}

// VALUE: a number typed as text, a percentage, a date or a time; a number stays.
Operand Value(Evaluator& eval, const Args& args) {
  return Cellwise(eval, args, [](const std::vector<Variant>& values) {
    // An error value stays, a date is its serial number, an empty cell 0; only TRUE and FALSE
    // are no numbers to VALUE.
    if (values[0].IsBoolean()) return kValueError;
    return ToNumber(values[0]);
  });
}

Operand Text(Evaluator& eval, const Args& args) {
  return Cellwise(eval, args, [](const std::vector<Variant>& values) {
    Variant error = FirstError(values);
    if (error.IsError()) return error;
    return FormatText(values[0], ValueText(values[1]));
  });
}

// The host's Chinese code page, for CHAR and CODE.
struct CloseConverter {
  void operator()(UConverter* converter) const { ucnv_close(converter); }
};
std::unique_ptr<UConverter, CloseConverter> CodePage() {
  UErrorCode status = U_ZERO_ERROR;
  std::unique_ptr<UConverter, CloseConverter> converter(ucnv_open("GBK", &status));
  if (U_FAILURE(status)) converter.reset();
  return converter;
}

// CHAR: the character of a code of the host's code page: 1 to 127 ASCII, a double-byte code
// (lead byte first, 33088 to 65278) a Chinese character; a code that is none is #VALUE!.
Operand Char(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    std::optional<double> code = a.Whole(0);
    if (!code || *code < 1 || *code > 65535) return kValueError;
    auto number = static_cast<unsigned>(*code);
    if (number < 0x80) return Variant(std::string(1, static_cast<char>(number)));
    auto converter = CodePage();
    if (!converter) return kValueError;
    char bytes[2] = {static_cast<char>(number >> 8), static_cast<char>(number & 0xFF)};
    const char* from = number > 0xFF ? bytes : bytes + 1;
    UChar units[4];
    UErrorCode status = U_ZERO_ERROR;
    ucnv_setToUCallBack(converter.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                        &status);
    int32_t length = ucnv_toUChars(converter.get(), units, 4, from,
                                   static_cast<int32_t>(bytes + 2 - from), &status);
    if (U_FAILURE(status) || length != 1) return kValueError;
    return Variant(Utf8(std::u16string_view(reinterpret_cast<const char16_t*>(units), 1)));
  });
}

// CODE: the code of the first character in the host's code page; one it cannot hold is 63,
// the "?" it becomes there. An empty text is #VALUE!.
Operand Code(Evaluator& eval, const Args& args) {
  return OfTexts(eval, args, [](const TextArgs& a) {
    std::u16string text = Units(a.Text(0));
    if (text.empty()) return kValueError;
    if (text[0] < 0x80) return Variant(static_cast<double>(text[0]));
    size_t length = U16_IS_LEAD(text[0]) && text.size() > 1 ? 2 : 1;
    auto converter = CodePage();
    char bytes[8];
    UErrorCode status = U_ZERO_ERROR;
    if (converter) {
      ucnv_setFromUCallBack(converter.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                            &status);
    }
    int32_t count = converter ? ucnv_fromUChars(converter.get(), bytes, sizeof bytes,
                                                reinterpret_cast<const UChar*>(text.data()),
                                                static_cast<int32_t>(length), &status)
                              : 0;
    if (!converter || U_FAILURE(status) || count < 1 || count > 2) return Variant(63.0);
    unsigned code = static_cast<unsigned char>(bytes[0]);
    if (count == 2) code = code * 256 + static_cast<unsigned char>(bytes[1]);
    return Variant(static_cast<double>(code));
  });
}

}  // namespace

void AddTextFunctions(FunctionTable& table) {
  table["LEFT"] = {Edge<true>, 1, 2};
  table["RIGHT"] = {Edge<false>, 1, 2};
  table["MID"] = {Mid, 3, 3};
  table["LEN"] = {Len, 1, 1};
  table["LENB"] = {LenB, 1, 1};
  table["FIND"] = {Find<false>, 2, 3};
  table["SEARCH"] = {Find<true>, 2, 3};
  table["SUBSTITUTE"] = {Substitute, 3, 4};
  table["REPLACE"] = {Replace, 4, 4};
  table["TRIM"] = {Trim, 1, 1};
  table["UPPER"] = {ChangeCase<Casing::Upper>, 1, 1};
  table["LOWER"] = {ChangeCase<Casing::Lower>, 1, 1};
  table["PROPER"] = {ChangeCase<Casing::Proper>, 1, 1};
  table["CONCATENATE"] = {Concatenate, 1, kMaxArguments};
  table["REPT"] = {Rept, 2, 2};
  table["EXACT"] = {Exact, 2, 2};
  table["VALUE"] = {Value, 1, 1};
  table["TEXT"] = {Text, 2, 2};
  table["CHAR"] = {Char, 1, 1};
  table["CODE"] = {Code, 1, 1};
}

}  // namespace tavrin

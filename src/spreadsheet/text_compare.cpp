#include "spreadsheet/text_compare.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>

namespace tavrin {

std::u32string FoldCase(std::string_view text) {
  std::u32string folded;
  folded.reserve(text.size());
  int32_t length = static_cast<int32_t>(text.size());
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  for (int32_t i = 0; i < length;) {
    if (bytes[i] < 0x80) {
      char32_t c = bytes[i++];
      folded.push_back(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
      continue;
    }
    UChar32 c;
    U8_NEXT(bytes, i, length, c);
    // A broken byte sequence compares as the replacement character.
    folded.push_back(c < 0 ? 0xFFFD : static_cast<char32_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT)));
  }
  return folded;
}

std::string Utf8(std::u32string_view characters) {
  std::string text;
  text.reserve(characters.size());
  for (char32_t c : characters) {
    uint8_t bytes[U8_MAX_LENGTH];
    int32_t length = 0;
    UBool error = false;
    U8_APPEND(bytes, length, U8_MAX_LENGTH, static_cast<UChar32>(c), error);
    if (error) continue;
    text.append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(length));
  }
  return text;
}

int CompareIgnoringCase(std::string_view left, std::string_view right) {
  int order = FoldCase(left).compare(FoldCase(right));
  return (order > 0) - (order < 0);
}

bool EqualsIgnoringCase(std::string_view left, std::string_view right) {
  return CompareIgnoringCase(left, right) == 0;
}

WildcardPattern::WildcardPattern(std::string_view pattern) {
  std::u32string folded = FoldCase(pattern);
  for (size_t i = 0; i < folded.size(); ++i) {
    char32_t c = folded[i];
    if (c == U'~' && i + 1 < folded.size()) {
      tokens_.push_back({Kind::Character, folded[++i]});
    } else if (c == U'*') {
      tokens_.push_back({Kind::AnyRun, c});
    } else {
      tokens_.push_back({c == U'?' ? Kind::AnyOne : Kind::Character, c});
    }
    if (tokens_.back().kind != Kind::AnyRun) matchesEverything_ = false;
  }
  // The empty pattern matches only the empty text.
  if (tokens_.empty()) matchesEverything_ = false;
}

bool WildcardPattern::HasWildcards() const {
  return std::any_of(tokens_.begin(), tokens_.end(),
                     [](const Token& token) { return token.kind != Kind::Character; });
}

std::u32string WildcardPattern::Literal() const {
  std::u32string literal;
  for (const Token& token : tokens_) literal.push_back(token.character);
  return literal;
}

bool WildcardPattern::Matches(std::string_view text) const {
  if (matchesEverything_) return true;
  return MatchesFolded(FoldCase(text), false);
}

bool WildcardPattern::MatchesFolded(std::u32string_view folded, bool prefix) const {
  size_t t = 0;
  size_t p = 0;
  size_t starToken = std::u32string::npos;
  size_t starText = 0;
  while (t < folded.size()) {
    if (prefix && p == tokens_.size()) return true;
    if (p < tokens_.size() && tokens_[p].kind == Kind::AnyRun) {
      starToken = p++;
      starText = t;
    } else if (p < tokens_.size() &&
               (tokens_[p].kind == Kind::AnyOne || tokens_[p].character == folded[t])) {
      ++p;
      ++t;
    } else if (starToken != std::u32string::npos) {
      // Let the last * take one more character and try again from there.
      p = starToken + 1;
      t = ++starText;
    } else {
      return false;
    }
  }
  while (p < tokens_.size() && tokens_[p].kind == Kind::AnyRun) ++p;
  return p == tokens_.size();
}

}  // namespace tavrin

#include "spreadsheet/text_compare.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

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
    if (c == U'~' && i + 1 < folded.size() &&
        (folded[i + 1] == U'*' || folded[i + 1] == U'?' || folded[i + 1] == U'~')) {
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

bool WildcardPattern::Matches(std::string_view text) const {
  if (matchesEverything_) return true;
  std::u32string folded = FoldCase(text);
  size_t t = 0;
  size_t p = 0;
  size_t starToken = std::u32string::npos;
  size_t starText = 0;
  while (t < folded.size()) {
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

#include "spreadsheet/text_compare.h"

#include <unicode/coll.h>
#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace tavrin {

namespace {

// The next character of a UTF-8 text, folded as FoldCase folds it.
char32_t NextFolded(const uint8_t* bytes, int32_t& i, int32_t length) {
  if (bytes[i] < 0x80) {
    char32_t c = bytes[i++];
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
  }
  UChar32 c;
  U8_NEXT(bytes, i, length, c);
  return c < 0 ? 0xFFFD : static_cast<char32_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT));
}

}  // namespace

std::u32string FoldCase(std::string_view text) {
  std::u32string folded;
  folded.reserve(text.size());
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  auto length = static_cast<int32_t>(text.size());
  for (int32_t i = 0; i < length;) folded.push_back(NextFolded(bytes, i, length));
  return folded;
}

// FNV-1a over the folded characters, its bits mixed at the end (MurmurHash3's finaliser), as the
// table of text ids takes the low bits for a slot and the high ones to tell texts apart.
uint64_t FoldedHash(std::string_view text) {
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  auto length = static_cast<int32_t>(text.size());
  uint64_t hash = 0xcbf29ce484222325;
  for (int32_t i = 0; i < length;) {
    hash ^= NextFolded(bytes, i, length);
    hash *= 0x100000001b3;
  }
  hash ^= hash >> 33;
  hash *= 0xff51afd7ed558ccd;
  hash ^= hash >> 33;
  hash *= 0xc4ceb9fe1a85ec53;
  return hash ^ (hash >> 33);
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

// Character by character, so that comparing costs no copy of either text.
int CompareIgnoringCase(std::string_view left, std::string_view right) {
  const auto* a = reinterpret_cast<const uint8_t*>(left.data());
  const auto* b = reinterpret_cast<const uint8_t*>(right.data());
  int32_t i = 0, j = 0;
  auto n = static_cast<int32_t>(left.size()), m = static_cast<int32_t>(right.size());
  while (i < n && j < m) {
    char32_t x = NextFolded(a, i, n), y = NextFolded(b, j, m);
    if (x != y) return x < y ? -1 : 1;
  }
  return (i < n) - (j < m);
}

namespace {

// Letters and digits of ASCII alone sort in the collator's order by their folded codes.
bool PlainAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](unsigned char c) -> bool { return std::isalnum(c); });
}

const icu::Collator* ChineseCollator() {
  thread_local std::unique_ptr<icu::Collator> collator = [] {
    UErrorCode status = U_ZERO_ERROR;
    std::unique_ptr<icu::Collator> made(icu::Collator::createInstance(icu::Locale("zh"), status));
    if (U_FAILURE(status)) made.reset();
    if (made) {
      made->setStrength(icu::Collator::SECONDARY);  // letter case is no difference
      // Scripts in the root order, Latin before Chinese, as the host sorts; the Chinese
      // characters keep their pinyin order.
      const int32_t rootOrder[] = {UCOL_REORDER_CODE_NONE};
      made->setReorderCodes(rootOrder, 1, status);
    }
    return made;
  }();
  return collator.get();
}

}  // namespace

int CollateIgnoringCase(std::string_view left, std::string_view right) {
  int folded = CompareIgnoringCase(left, right);
  const icu::Collator* collator = ChineseCollator();
  if (folded == 0 || collator == nullptr || (PlainAscii(left) && PlainAscii(right))) return folded;
  UErrorCode status = U_ZERO_ERROR;
  UCollationResult order = collator->compareUTF8(
      icu::StringPiece(left.data(), static_cast<int32_t>(left.size())),
      icu::StringPiece(right.data(), static_cast<int32_t>(right.size())), status);
  if (U_FAILURE(status) || order == UCOL_EQUAL) return folded;
  return order == UCOL_LESS ? -1 : 1;
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
  literal_ = std::all_of(tokens_.begin(), tokens_.end(),
                         [](const Token& token) { return token.kind == Kind::Character; });
}

bool WildcardPattern::HasWildcards() const {
  return !literal_;
}

std::u32string WildcardPattern::Literal() const {
  std::u32string literal;
  for (const Token& token : tokens_) literal.push_back(token.character);
  return literal;
}

bool WildcardPattern::Matches(std::string_view text) const {
  if (matchesEverything_) return true;
  if (!literal_) return MatchesFolded(FoldCase(text), false);
  const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
  auto length = static_cast<int32_t>(text.size());
  int32_t i = 0;
  for (const Token& token : tokens_) {
    if (i >= length || NextFolded(bytes, i, length) != token.character) return false;
  }
  return i == length;
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

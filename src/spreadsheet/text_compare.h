#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// Text comparison that ignores letter case, as the host compares: every character is folded
// with ICU's simple case folding, so "Ä" equals "ä" as "A" equals "a".

// The text's characters, folded.
std::u32string FoldCase(std::string_view text);

// A hash of the text's folded characters: texts equal ignoring case hash alike.
uint64_t FoldedHash(std::string_view text);

// Characters as UTF-8.
std::string Utf8(std::u32string_view characters);

// -1, 0 or 1: the folded texts in character order.
int CompareIgnoringCase(std::string_view left, std::string_view right);

bool EqualsIgnoringCase(std::string_view left, std::string_view right);

// -1, 0 or 1: texts in the host's sort order, as "<", sorting and sorted lookups order them in
// the Chinese locale: ICU's collator for "zh" (Chinese in pinyin order, blanks and punctuation
// before digits, digits before letters, accented letters beside their base letter), letter
// case ignored. Texts equal ignoring case are 0; texts the collator cannot tell apart
// otherwise ("a" and "ä" are not) go by CompareIgnoringCase.
int CollateIgnoringCase(std::string_view left, std::string_view right);

// A pattern with the host's wildcards: * any run of characters, ? any one character, ~ makes
// the next character an ordinary one ("~*" a star, "~~" a tilde, "x~y" matches "xy"; a tilde
// at the end stands for itself). Matching ignores letter case.
class WildcardPattern {
 public:
  explicit WildcardPattern(std::string_view pattern);

  // Whether the pattern matches the whole text.
  bool Matches(std::string_view text) const;
  // Whether it matches folded characters (FoldCase): all of them, or with `prefix` any
  // beginning of them (as SEARCH finds a pattern).
  bool MatchesFolded(std::u32string_view folded, bool prefix) const;
  // Whether it holds * or ?; one that does not matches one text only, its literal (folded).
  bool HasWildcards() const;
  std::u32string Literal() const;

 private:
  enum class Kind { Character, AnyOne, AnyRun };
  struct Token {
    Kind kind;
    char32_t character;
  };

  std::vector<Token> tokens_;
  bool matchesEverything_ = true;
  bool literal_ = true;  // no wildcard: one text, compared without copying
};

}  // namespace tavrin

#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// Text comparison that ignores letter case, as the host compares: every character is folded
// with ICU's simple case folding, so "Ä" equals "ä" as "A" equals "a".

// The text's characters, folded.
std::u32string FoldCase(std::string_view text);

// -1, 0 or 1: the folded texts in character order.
int CompareIgnoringCase(std::string_view left, std::string_view right);

bool EqualsIgnoringCase(std::string_view left, std::string_view right);

// A pattern with the host's wildcards: * any run of characters, ? any one character, ~ makes
// the next *, ? or ~ an ordinary character. Matching ignores letter case and takes the whole
// text.
class WildcardPattern {
 public:
  explicit WildcardPattern(std::string_view pattern);

  bool Matches(std::string_view text) const;

 private:
  enum class Kind { Character, AnyOne, AnyRun };
  struct Token {
    Kind kind;
    char32_t character;
  };

  std::vector<Token> tokens_;
  bool matchesEverything_ = true;
};

}  // namespace tavrin

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tavrin {

// Ids of texts equal as formulas compare them, letter case ignored (FoldCase). An open table
// keyed by a hash of the folded characters, so that finding a text folds it once and copies
// nothing; the first text of each id is kept to tell texts of equal hashes apart.
class TextIds {
 public:
  TextIds() : slots_(16) {}

  // The id of the texts equal to this one, -3 when none.
  int Find(std::string_view text) const;
  // The id of the texts equal to this one, for the caller to set: -3 when the text is new.
  int& Obtain(std::string_view text);

 private:
  struct Slot {
    uint32_t check = 0;  // the hash's upper half
    int entry = -1;      // -1: free
  };
  struct Entry {
    uint64_t hash;
    size_t offset, length;  // of its first text in texts_
    int id;
  };

  // The slot holding the text's entry, or the free slot where it belongs.
  size_t SlotOf(std::string_view text, uint64_t hash) const;
  void Grow();

  std::vector<Slot> slots_;  // a power of two of them, at most half taken
  std::vector<Entry> entries_;
  std::string texts_;
};

}  // namespace tavrin

#include "spreadsheet/text_ids.h"

#include "spreadsheet/text_compare.h"

namespace tavrin {

size_t TextIds::SlotOf(std::string_view text, uint64_t hash) const {
  size_t mask = slots_.size() - 1;
  auto check = static_cast<uint32_t>(hash >> 32);
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const Slot& slot = slots_[i];
    if (slot.entry < 0) return i;
    if (slot.check != check) continue;
    const Entry& entry = entries_[static_cast<size_t>(slot.entry)];
    if (EqualsIgnoringCase(text, std::string_view(texts_).substr(entry.offset, entry.length)))
      return i;
  }
}

int TextIds::Find(std::string_view text) const {
  const Slot& slot = slots_[SlotOf(text, FoldedHash(text))];
  return slot.entry < 0 ? -3 : entries_[static_cast<size_t>(slot.entry)].id;
}

int& TextIds::Obtain(std::string_view text) {
  uint64_t hash = FoldedHash(text);
  Slot* slot = &slots_[SlotOf(text, hash)];
  if (slot->entry < 0) {
    if (2 * (entries_.size() + 1) > slots_.size()) {
      Grow();
      slot = &slots_[SlotOf(text, hash)];
    }
    *slot = {static_cast<uint32_t>(hash >> 32), static_cast<int>(entries_.size())};
    entries_.push_back({hash, texts_.size(), text.size(), -3});
    texts_.append(text);
  }
  return entries_[static_cast<size_t>(slot->entry)].id;
}

// Twice the slots, every entry placed anew by its hash.
void TextIds::Grow() {
  slots_.assign(slots_.size() * 2, Slot{});
  size_t mask = slots_.size() - 1;
  for (size_t e = 0; e < entries_.size(); ++e) {
    size_t i = entries_[e].hash & mask;
    while (slots_[i].entry >= 0) i = (i + 1) & mask;
    slots_[i] = {static_cast<uint32_t>(entries_[e].hash >> 32), static_cast<int>(e)};
  }
}

}  // namespace tavrin

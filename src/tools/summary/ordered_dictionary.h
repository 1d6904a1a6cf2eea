#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "host/host_error.h"

namespace tavrin {

// A row's cell texts, compared exactly: the key of the keyed tools.
using TextTuple = std::vector<std::string>;

struct TextTupleHash {
  size_t operator()(const TextTuple& texts) const {
    size_t hash = texts.size();
    for (const std::string& text : texts) {
      hash ^= std::hash<std::string>()(text) + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    }
    return hash;
  }
};

// The dictionary the keyed tools use: keys compared exactly, items kept in the order their
// keys were added, and adding a key that is already there fails (457), as the platform's
// dictionary does.
template <class Key, class Item, class Hash = std::hash<Key>>
class OrderedDictionary {
 public:
  void Add(Key key, Item item) {
    auto [position, added] = positions_.try_emplace(std::move(key), items_.size());
    if (!added) throw HostError::KeyExists();
    keys_.push_back(&position->first);
    items_.push_back(std::move(item));
  }
  // The item of a key, nullptr when the key is not there.
  Item* Find(const Key& key) {
    auto found = positions_.find(key);
    return found == positions_.end() ? nullptr : &items_[found->second];
  }
  size_t Count() const { return items_.size(); }
  // The k-th key and item added, from 0.
  const Key& KeyAt(size_t k) const { return *keys_[k]; }
  Item& ItemAt(size_t k) { return items_[k]; }

 private:
  std::unordered_map<Key, size_t, Hash> positions_;
  std::vector<const Key*> keys_;  // into positions_, whose nodes do not move
  std::vector<Item> items_;
};

}  // namespace tavrin

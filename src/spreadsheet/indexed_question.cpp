#include "spreadsheet/indexed_question.h"

#include <functional>

namespace tavrin {

namespace {

template <class T>
void Mix(size_t& hash, const T& part) {
  hash ^= std::hash<T>{}(part) + 0x9e3779b97f4a7c15u + (hash << 6) + (hash >> 2);
}

}  // namespace

size_t IndexedQuestion::Hash::operator()(const IndexedQuestion& question) const {
  size_t hash = 0;
  Mix(hash, question.asked);
  for (const auto& [index, key] : question.equalities) {
    Mix(hash, index);
    Mix(hash, key.id);
    Mix(hash, key.empties);
    for (int blank : key.blanks) Mix(hash, blank);
  }
  Mix(hash, question.values);
  for (const auto& parts : question.matching) {
    Mix(hash, parts.size());
    for (const std::vector<int>* part : parts) Mix(hash, part);
  }
  Mix(hash, question.valuesSheet);
  Mix(hash, question.valuesRow);
  Mix(hash, question.valuesColumn);
  return hash;
}

}  // namespace tavrin

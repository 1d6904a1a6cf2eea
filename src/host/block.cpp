#include "host/block.h"

#include "host/host_error.h"

namespace tavrin {

size_t Block::Index(int row, int column) const {
  if (row < 1 || row > rows_ || column < 1 || column > columns_) {
    throw HostError::SubscriptOutOfRange();
  }
  return static_cast<size_t>(row - 1) * columns_ + (column - 1);
}

}  // namespace tavrin

#include "host/application.h"

#include "host/host_error.h"

namespace tavrin {

const Range& RangeOrValue::AsRange() const {
  if (!range_) throw HostError::ObjectRequired();
  return *range_;
}

Variant RangeOrValue::Value() const { return range_ ? range_->Value() : value_; }

}  // namespace tavrin

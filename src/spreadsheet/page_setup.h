#pragma once

#include <string>

#include "host/page.h"

namespace tavrin {

// A sheet's page setup. Print title rows are kept as the host writes them back: "$1:$3".
class SheetPageSetup : public PageSetup {
 public:
  // A change sets the sheet's changed flag.
  explicit SheetPageSetup(bool& sheetChanged) : sheetChanged_(sheetChanged) {}

  std::string PrintTitleRows() const override { return printTitleRows_; }
  // "" clears; "$1:$3", "1:3", "$2" and the like (whole rows, "$" optional) are kept as
  // "$1:$3"; anything else fails (1004).
  void SetPrintTitleRows(const std::string& rows) override;

 private:
  bool& sheetChanged_;
  std::string printTitleRows_;
};

}  // namespace tavrin

#pragma once

#include <iosfwd>
#include <string>

namespace tavrin {

// What every command shares: where it prints, whether questions can be asked at a terminal
// (standard input is one), and whether results go to a terminal (standard output is one).
struct CommandContext {
  std::ostream& out;
  std::ostream& messages;
  bool interactive;
  bool outputToTerminal;
};

// A usage problem found after parsing: reported like a parse error, with status 2.
struct UsageError {
  std::string message;
};

}  // namespace tavrin

#pragma once

#include <functional>
#include <iosfwd>

namespace tavrin {

// What every command shares: where it prints, whether there is a terminal, and the command
// that was chosen, to run once the line is parsed. Run returns the exit status.
struct CommandContext {
  std::ostream& out;
  std::ostream& messages;
  bool interactive;
  std::function<int()> run;
};

}  // namespace tavrin

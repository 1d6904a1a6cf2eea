#pragma once

#include <iosfwd>
#include <string>

#include "session/machine_runtime.h"

namespace tavrin {

// How the questions of a run are answered.
enum class Answering { AtTerminal, Yes, No };

// The runtime of the command line: message boxes printed to standard error (title in square
// brackets, the text as it stands, for a question the buttons and the answer given), questions
// answered by --yes / --no, at the terminal, or with the box's default button when there is no
// terminal.
class TerminalRuntime : public MachineRuntime {
 public:
  TerminalRuntime(std::ostream& messages, Answering answering, bool interactive);

 protected:
  int Show(const std::string& prompt, int buttons, const std::string& title) override;

 private:
  int Answer(int buttons);

  std::ostream& out;
  Answering answering;
  bool interactive;
};

}  // namespace tavrin

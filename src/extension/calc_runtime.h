#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "session/machine_runtime.h"

namespace tavrin {

// A message box a run showed, and the answer it got.
struct ShownMessage {
  std::string title;
  std::string prompt;
  int buttons = 0;
  int answer = 0;
};

// The runtime services inside Calc. Message boxes are answered from the caller's list of
// answers while it lasts, then by showing the box (`show`), or, for a caller that answers
// everything itself, by the box's default button; every box is noted for the caller.
class CalcRuntime : public MachineRuntime {
 public:
  using Shower =
      std::function<int(const std::string& prompt, int buttons, const std::string& title)>;

  // A new run: the caller's answers ("Yes", "No", "OK", "Cancel"), and how boxes beyond them
  // are answered (no shower: by their default button).
  void StartRun(std::deque<std::string> answers, Shower shower);
  const std::vector<ShownMessage>& Shown() const { return shown_; }

 protected:
  int Show(const std::string& prompt, int buttons, const std::string& title) override;

 private:
  std::deque<std::string> answers_;
  Shower shower_;
  std::vector<ShownMessage> shown_;
};

}  // namespace tavrin

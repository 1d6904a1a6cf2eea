#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "session/machine_runtime.h"

namespace tavrin {

// A message box a run showed, and the answer it got; or an input box and the text typed.
struct ShownMessage {
  std::string title;
  std::string prompt;
  int buttons = 0;
  int answer = 0;
  std::optional<std::string> input;
};

// The runtime services inside Calc. Message boxes are answered from the caller's list of
// answers while it lasts, then by showing the box (`show`), or, for a caller that answers
// everything itself, by the box's default button; every box is noted for the caller.
class CalcRuntime : public MachineRuntime {
 public:
  using Shower =
      std::function<int(const std::string& prompt, int buttons, const std::string& title)>;

  // How boxes beyond the caller's list are answered: by showing them, by their default button,
  // or by their first or second button (Yes or OK, No or Cancel), as the command line's --yes
  // and --no answer every box.
  enum class Beyond { Show, Default, First, Second };

  // A new run: the caller's answers ("Yes", "No", "OK", "Cancel") and what comes after them.
  void StartRun(std::deque<std::string> answers, Beyond beyond, Shower shower);
  const std::vector<ShownMessage>& Shown() const { return shown_; }
  // What DoEvents lets Calc do besides the window system's events: its own pending events.
  void SetCalcEvents(std::function<void()> events) { calcEvents_ = std::move(events); }
  void DoEvents() override;
  // Notes an input box and its answer (nothing when cancelled).
  void NoteInput(const std::string& prompt, const std::string& title,
                 const std::optional<std::string>& answer) {
    shown_.push_back({title, prompt, 0, 0, answer.value_or("")});
  }

 protected:
  int Show(const std::string& prompt, int buttons, const std::string& title) override;

 private:
  std::deque<std::string> answers_;
  Beyond beyond_ = Beyond::Default;
  Shower shower_;
  std::vector<ShownMessage> shown_;
  std::function<void()> calcEvents_;
};

}  // namespace tavrin

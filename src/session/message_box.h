#pragma once

#include <optional>
#include <string>

namespace tavrin {

// What the buttons argument of a message box asks for: OK alone, or a question (Yes and No, or
// OK and Cancel) with its default button.
struct MessageButtons {
  explicit MessageButtons(int buttons);

  bool question = false;
  int first = 0;      // vbOK or vbYes
  int second = 0;     // vbCancel or vbNo; 0 without a question
  int byDefault = 0;  // the answer Enter gives
};

// "OK", "Cancel", "Yes", "No".
std::string AnswerName(int answer);
// The answer of that name among the buttons, or nothing.
std::optional<int> AnswerNamed(const MessageButtons& buttons, const std::string& name);

}  // namespace tavrin

#include "session/message_box.h"

#include "host/runtime.h"

namespace tavrin {

MessageButtons::MessageButtons(int buttons) {
  int kind = buttons & 0xF;
  question = kind == vbYesNo || kind == vbOKCancel;
  first = kind == vbYesNo ? vbYes : vbOK;
  second = !question ? 0 : kind == vbYesNo ? vbNo : vbCancel;
  byDefault = question && (buttons & vbDefaultButton2) != 0 ? second : first;
}

std::string AnswerName(int answer) {
  switch (answer) {
    case vbOK:
      return "OK";
    case vbCancel:
      return "Cancel";
    case vbYes:
      return "Yes";
    default:
      return "No";
  }
}

std::optional<int> AnswerNamed(const MessageButtons& buttons, const std::string& name) {
  for (int answer : {buttons.first, buttons.second}) {
    if (answer != 0 && AnswerName(answer) == name) return answer;
  }
  return std::nullopt;
}

}  // namespace tavrin

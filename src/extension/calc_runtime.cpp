#include "extension/calc_runtime.h"

#include "session/message_box.h"

namespace tavrin {

void CalcRuntime::StartRun(std::deque<std::string> answers, Beyond beyond, Shower shower) {
  answers_ = std::move(answers);
  beyond_ = beyond;
  shower_ = std::move(shower);
  shown_.clear();
}

void CalcRuntime::DoEvents() {
  MachineRuntime::DoEvents();
  if (calcEvents_) calcEvents_();
}

int CalcRuntime::Show(const std::string& prompt, int buttons, const std::string& title) {
  MessageButtons kind(buttons);
  int answer = kind.byDefault;
  if (!answers_.empty()) {
    // An answer that is not one of the box's buttons is its default, as Enter gives.
    answer = AnswerNamed(kind, answers_.front()).value_or(kind.byDefault);
    answers_.pop_front();
  } else if (beyond_ == Beyond::Show && shower_) {
    answer = shower_(prompt, buttons, title);
  } else if (kind.question && beyond_ == Beyond::First) {
    answer = kind.first;
  } else if (kind.question && beyond_ == Beyond::Second) {
    answer = kind.second;
  }
  shown_.push_back({title, prompt, buttons, answer, std::nullopt});
  return answer;
}

}  // namespace tavrin

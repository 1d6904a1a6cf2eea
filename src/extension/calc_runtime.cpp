#include "extension/calc_runtime.h"

#include "session/message_box.h"

namespace tavrin {

void CalcRuntime::StartRun(std::deque<std::string> answers, Shower shower) {
  answers_ = std::move(answers);
  shower_ = std::move(shower);
  shown_.clear();
}

int CalcRuntime::Show(const std::string& prompt, int buttons, const std::string& title) {
  MessageButtons kind(buttons);
  int answer = kind.byDefault;
  if (!answers_.empty()) {
    // An answer that is not one of the box's buttons is its default, as Enter gives.
    answer = AnswerNamed(kind, answers_.front()).value_or(kind.byDefault);
    answers_.pop_front();
  } else if (shower_) {
    answer = shower_(prompt, buttons, title);
  }
  shown_.push_back({title, prompt, buttons, answer});
  return answer;
}

}  // namespace tavrin

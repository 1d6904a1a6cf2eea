#include "cli/terminal_runtime.h"

#include <cctype>
#include <iostream>
#include <string>

#include "session/message_box.h"

namespace tavrin {

TerminalRuntime::TerminalRuntime(std::ostream& messages, Answering answerPolicy, bool terminal)
    : out(messages), answering(answerPolicy), interactive(terminal) {}

int TerminalRuntime::Show(const std::string& prompt, int buttons, const std::string& title) {
  out << '[' << title << "]\n" << prompt << '\n';
  if (!MessageButtons(buttons).question) {
    out << '\n' << std::flush;
    return vbOK;
  }
  int answer = Answer(buttons);
  out << "-> " << AnswerName(answer) << "\n\n" << std::flush;
  return answer;
}

int TerminalRuntime::Answer(int buttons) {
  MessageButtons box(buttons);
  if (answering == Answering::Yes) return box.first;
  if (answering == Answering::No) return box.second;
  std::string choices = AnswerName(box.first) + " / " + AnswerName(box.second) + " (default " +
                        AnswerName(box.byDefault) + ")";
  if (!interactive) {
    out << choices << ": no terminal, default taken\n";
    return box.byDefault;
  }
  for (;;) {
    out << choices << "? " << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return box.byDefault;
    if (line.empty()) return box.byDefault;
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
    if (c == std::tolower(AnswerName(box.first)[0])) return box.first;
    if (c == std::tolower(AnswerName(box.second)[0])) return box.second;
  }
}

}  // namespace tavrin

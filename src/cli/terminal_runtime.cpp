#include "cli/terminal_runtime.h"

#include <chrono>
#include <ctime>
#include <iostream>
#include <string>

#include "host/host_error.h"
#include "host/window_system.h"

namespace tavrin {

namespace {

bool HasCancel(int buttons) { return (buttons & 0xF) == vbOKCancel; }
bool IsQuestion(int buttons) { return (buttons & 0xF) == vbYesNo || HasCancel(buttons); }
bool DefaultIsSecond(int buttons) { return (buttons & vbDefaultButton2) != 0; }

int FirstAnswer(int buttons) { return HasCancel(buttons) ? vbOK : vbYes; }
int SecondAnswer(int buttons) { return HasCancel(buttons) ? vbCancel : vbNo; }

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

}  // namespace

TerminalRuntime::TerminalRuntime(std::ostream& messages, Answering answerPolicy,
                                 bool terminal)
    : out(messages), answering(answerPolicy), interactive(terminal) {
  Randomize();
}

int TerminalRuntime::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
  if (title == "未知错误") failureReportShown = true;
  out << '[' << title << "]\n" << prompt << '\n';
  if (!IsQuestion(buttons)) {
    out << '\n' << std::flush;
    return vbOK;
  }
  int answer = Answer(buttons);
  out << "-> " << AnswerName(answer) << "\n\n" << std::flush;
  return answer;
}

int TerminalRuntime::Answer(int buttons) {
  int first = FirstAnswer(buttons);
  int second = SecondAnswer(buttons);
  int byDefault = DefaultIsSecond(buttons) ? second : first;
  if (answering == Answering::Yes) return first;
  if (answering == Answering::No) return second;
  std::string choices = AnswerName(first) + " / " + AnswerName(second) + " (default " +
                        AnswerName(byDefault) + ")";
  if (!interactive) {
    out << choices << ": no terminal, default taken\n";
    return byDefault;
  }
  for (;;) {
    out << choices << "? " << std::flush;
    std::string line;
    if (!std::getline(std::cin, line)) return byDefault;
    if (line.empty()) return byDefault;
    char c = static_cast<char>(std::tolower(static_cast<unsigned char>(line[0])));
    if (c == std::tolower(AnswerName(first)[0])) return first;
    if (c == std::tolower(AnswerName(second)[0])) return second;
  }
}

double TerminalRuntime::Timer() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  auto fraction = now - std::chrono::system_clock::from_time_t(seconds);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
         std::chrono::duration<double>(fraction).count();
}

void TerminalRuntime::Randomize() {
  random.seed(static_cast<std::uint64_t>(Timer() * 1e6) ^
              static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
}

double TerminalRuntime::Rnd() { return std::uniform_real_distribution<double>(0.0, 1.0)(random); }

Application& TerminalRuntime::GetObject(const std::string& programmaticName) {
  if (running == nullptr || programmaticName != "excel.application") {
    throw HostError(429, "ActiveX 部件不能创建对象");
  }
  return *running;
}

void TerminalRuntime::SetWindowSystemOpener(
    std::function<std::unique_ptr<tavrin::WindowSystem>()> opener) {
  windowSystemOpener = std::move(opener);
}

tavrin::WindowSystem& TerminalRuntime::WindowSystem() {
  if (!windowSystem && windowSystemOpener) windowSystem = windowSystemOpener();
  if (!windowSystem) throw HostError(429, "ActiveX 部件不能创建对象");
  return *windowSystem;
}

void TerminalRuntime::DoEvents() {
  if (windowSystem) windowSystem->ProcessPendingEvents();
}

}  // namespace tavrin

#include "support/scripted_runtime.h"

#include "host/host_error.h"

namespace tavrin {

int ScriptedRuntime::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
  int answer = vbOK;
  int kind = buttons & 0xF;
  if (kind == vbYesNo || kind == vbOKCancel) {
    bool second = (buttons & vbDefaultButton2) != 0;
    int first = kind == vbYesNo ? vbYes : vbOK;
    int other = kind == vbYesNo ? vbNo : vbCancel;
    answer = second ? other : first;
    if (!answers.empty()) {
      answer = answers.front();
      answers.pop_front();
    }
  }
  shown.push_back({title, prompt, buttons, answer});
  return answer;
}

double ScriptedRuntime::Timer() {
  if (!times.empty()) {
    lastTime = times.front();
    times.pop_front();
  }
  return lastTime;
}

double ScriptedRuntime::Rnd() {
  if (draws.empty()) return 0.5;
  double draw = draws.front();
  draws.pop_front();
  return draw;
}

Application& ScriptedRuntime::GetObject(const std::string& programmaticName) {
  if (running == nullptr || programmaticName != "excel.application") {
    throw HostError(429, "ActiveX 部件不能创建对象");
  }
  return *running;
}

tavrin::WindowSystem& ScriptedRuntime::WindowSystem() {
  throw HostError(429, "ActiveX 部件不能创建对象");
}

}  // namespace tavrin

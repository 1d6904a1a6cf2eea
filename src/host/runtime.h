#pragma once

#include <string>

#include "host/user_locale.h"

namespace tavrin {

class Application;
class WindowSystem;

// Message box buttons and answers.
enum VbMsgBoxStyle : int {
  vbOKOnly = 0,
  vbOKCancel = 1,
  vbYesNo = 4,
  vbDefaultButton2 = 256,
};
enum VbMsgBoxResult : int { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

// The services of the runtime and the platform that the component uses besides the host's
// object model: message boxes, the clock, the random source, the running-object lookup,
// pending events and the user's locale. Passed in, so tests script answers, time and draws.
class Runtime {
 public:
  virtual ~Runtime() = default;

  // A modal message box; returns the answer (vbOK, vbCancel, vbYes, vbNo).
  virtual int MsgBox(const std::string& prompt, int buttons, const std::string& title) = 0;
  // Seconds since midnight, with fractions (the runtime's Timer).
  virtual double Timer() = 0;
  // Re-seeds the random source from the clock.
  virtual void Randomize() = 0;
  // The next draw, 0 <= r < 1.
  virtual double Rnd() = 0;
  // The running instance of a class by programmatic name ("excel.application"); none fails
  // (429 "ActiveX 部件不能创建对象").
  virtual Application& GetObject(const std::string& programmaticName) = 0;
  // Processes pending window events.
  virtual void DoEvents() = 0;
  virtual const UserLocale& Locale() const = 0;
  // The window system the information window is shown on.
  virtual tavrin::WindowSystem& WindowSystem() = 0;
};

}  // namespace tavrin

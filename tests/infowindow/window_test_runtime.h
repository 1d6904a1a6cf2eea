#pragma once

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>

#include "host/runtime.h"
#include "host/window_system.h"

namespace tavrin {

// A runtime for the information window: the clock reads from a script, then moves on a second
// a read (so a fade always ends), DoEvents counts its passes, runs an optional hook, then pumps the
// given window system.
class WindowTestRuntime : public Runtime {
 public:
  explicit WindowTestRuntime(tavrin::WindowSystem& windowSystem) : windows(windowSystem) {}

  std::deque<double> times;
  int doEventsPasses = 0;
  std::function<void(int pass)> onDoEvents;

  double Timer() override {
    if (times.empty()) return lastTime += 1;
    lastTime = times.front();
    times.pop_front();
    return lastTime;
  }
  void DoEvents() override {
    ++doEventsPasses;
    if (onDoEvents) onDoEvents(doEventsPasses);
    windows.ProcessPendingEvents();
  }
  tavrin::WindowSystem& WindowSystem() override { return windows; }

  int MsgBox(const std::string&, int, const std::string&) override { return vbOK; }
  void Randomize() override {}
  double Rnd() override { return 0; }
  Application& GetObject(const std::string&) override {
    throw std::logic_error("the information window needs no host");
  }
  const UserLocale& Locale() const override { return locale; }

 private:
  tavrin::WindowSystem& windows;
  UserLocale locale;
  double lastTime = 0;
};

}  // namespace tavrin

#pragma once

#include <deque>
#include <string>
#include <vector>

#include "host/runtime.h"

namespace tavrin {

// A runtime whose answers, clock and draws are scripted, and which records every message box.
class ScriptedRuntime : public Runtime {
 public:
  struct Shown {
    std::string title;
    std::string text;
    int buttons;
    int answer;
  };

  int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
  // Each call gives the next scripted time, then keeps the last one.
  double Timer() override;
  void Randomize() override { ++randomizeCount; }
  double Rnd() override;
  Application& GetObject(const std::string& programmaticName) override;
  void DoEvents() override {}
  const UserLocale& Locale() const override { return locale; }
  tavrin::WindowSystem& WindowSystem() override;

  // Scripted answers to questions, in order; an unscripted question gets its default button.
  std::deque<int> answers;
  std::deque<double> times;
  std::deque<double> draws;
  Application* running = nullptr;
  UserLocale locale;

  std::vector<Shown> shown;
  int randomizeCount = 0;

 private:
  double lastTime = 0;
};

}  // namespace tavrin

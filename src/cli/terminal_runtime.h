#pragma once

#include <functional>
#include <iosfwd>
#include <memory>
#include <random>
#include <string>

#include "host/runtime.h"
#include "host/window_system.h"

namespace tavrin {

// How the questions of a run are answered.
enum class Answering { AtTerminal, Yes, No };

// The runtime services of the command line: message boxes printed to standard error (title in
// square brackets, the text as it stands, for a question the buttons and the answer given),
// questions answered by --yes / --no, at the terminal, or with the box's default button when
// there is no terminal; the clock and random source of the machine.
class TerminalRuntime : public Runtime {
 public:
  TerminalRuntime(std::ostream& messages, Answering answering, bool interactive);

  int MsgBox(const std::string& prompt, int buttons, const std::string& title) override;
  double Timer() override;
  void Randomize() override;
  double Rnd() override;
  Application& GetObject(const std::string& programmaticName) override;
  void DoEvents() override;
  const UserLocale& Locale() const override { return locale; }
  tavrin::WindowSystem& WindowSystem() override;

  // The running host application that GetObject("excel.application") finds.
  void SetRunningApplication(Application& application) { running = &application; }
  // The window system, opened when first asked for.
  void SetWindowSystemOpener(std::function<std::unique_ptr<tavrin::WindowSystem>()> opener);

  // Whether the failure report ("未知错误") was shown during the run.
  bool FailureReportShown() const { return failureReportShown; }

 private:
  int Answer(int buttons);

  std::ostream& out;
  Answering answering;
  bool interactive;
  UserLocale locale;
  std::mt19937_64 random;
  Application* running = nullptr;
  std::function<std::unique_ptr<tavrin::WindowSystem>()> windowSystemOpener;
  std::unique_ptr<tavrin::WindowSystem> windowSystem;
  bool failureReportShown = false;
};

}  // namespace tavrin

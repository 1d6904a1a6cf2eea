#pragma once

#include <functional>
#include <memory>
#include <random>
#include <string>

#include "host/runtime.h"
#include "host/window_system.h"

namespace tavrin {

// The runtime services the command line and the server share: the machine's clock, a random
// source seeded from it, the running host application that GetObject("excel.application")
// finds, the user's locale, and the window system, opened when first asked for. Each face says
// how a message box is shown and answered (Show); every box passes through MsgBox, which notes
// the failure report ("未知错误").
class MachineRuntime : public Runtime {
 public:
  MachineRuntime();

  int MsgBox(const std::string& prompt, int buttons, const std::string& title) final;
  double Timer() override;
  void Randomize() override;
  double Rnd() override;
  Application& GetObject(const std::string& programmaticName) override;
  void DoEvents() override;
  const UserLocale& Locale() const override { return locale; }
  tavrin::WindowSystem& WindowSystem() override;

  void SetRunningApplication(Application& application) { running = &application; }
  // Without an opener the window system cannot be had (429), as without a display.
  void SetWindowSystemOpener(std::function<std::unique_ptr<tavrin::WindowSystem>()> opener);

  // Whether the failure report was shown since the last ForgetFailureReport.
  bool FailureReportShown() const { return failureReportShown; }
  void ForgetFailureReport() { failureReportShown = false; }

 protected:
  // Shows a box and gives the answer (vbOK, vbCancel, vbYes, vbNo).
  virtual int Show(const std::string& prompt, int buttons, const std::string& title) = 0;

 private:
  UserLocale locale;
  std::mt19937_64 random;
  Application* running = nullptr;
  std::function<std::unique_ptr<tavrin::WindowSystem>()> windowSystemOpener;
  std::unique_ptr<tavrin::WindowSystem> windowSystem;
  bool failureReportShown = false;
};

}  // namespace tavrin

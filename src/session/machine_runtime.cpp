#include "session/machine_runtime.h"

#include <chrono>
#include <ctime>

#include "host/host_error.h"

namespace tavrin {

MachineRuntime::MachineRuntime() {
  Randomize();
}

int MachineRuntime::MsgBox(const std::string& prompt, int buttons, const std::string& title) {
  if (title == "未知错误") failureReportShown = true;
  return Show(prompt, buttons, title);
}

double MachineRuntime::Timer() {
  auto now = std::chrono::system_clock::now();
  std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm local{};
  localtime_r(&seconds, &local);
  auto fraction = now - std::chrono::system_clock::from_time_t(seconds);
  return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
         std::chrono::duration<double>(fraction).count();
}

void MachineRuntime::Randomize() {
  random.seed(
      static_cast<std::uint64_t>(Timer() * 1e6) ^
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
}

double MachineRuntime::Rnd() {
  return std::uniform_real_distribution<double>(0.0, 1.0)(random);
}

Application& MachineRuntime::GetObject(const std::string& programmaticName) {
  if (running == nullptr || programmaticName != "excel.application") {
    throw HostError(429, "ActiveX 部件不能创建对象");
  }
  return *running;
}

void MachineRuntime::SetWindowSystemOpener(
    std::function<std::unique_ptr<tavrin::WindowSystem>()> opener) {
  windowSystemOpener = std::move(opener);
}

tavrin::WindowSystem& MachineRuntime::WindowSystem() {
  if (!windowSystem && windowSystemOpener) windowSystem = windowSystemOpener();
  if (!windowSystem) throw HostError(429, "ActiveX 部件不能创建对象");
  return *windowSystem;
}

void MachineRuntime::DoEvents() {
  if (windowSystem) windowSystem->ProcessPendingEvents();
}

}  // namespace tavrin

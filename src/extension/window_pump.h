#pragma once

#include <atomic>
#include <memory>
#include <thread>

#include <com/sun/star/uno/XComponentContext.hpp>

#include "host/window_system.h"

namespace tavrin {

// Keeps the information window's events going inside Calc, whose event loop knows nothing of the
// window system the window lives in: while a window is open, a small thread asks Calc, every few
// hundredths of a second, to hand the pending events over on Calc's own thread, where the
// component runs. The thread ends when the last window has closed.
class WindowPump {
 public:
  WindowPump() = default;
  ~WindowPump();
  WindowPump(const WindowPump&) = delete;
  WindowPump& operator=(const WindowPump&) = delete;

  // Pumps the window system's events until its windows have closed (a running pump goes on).
  void Keep(const com::sun::star::uno::Reference<com::sun::star::uno::XComponentContext>& context,
            WindowSystem& windows);
  // Stops pumping, before the window system goes; on Calc's thread.
  void Stop();

  // What the thread and the requests it leaves with Calc share.
  struct State {
    std::atomic<bool> running = false;
    std::atomic<bool> pending = false;
    WindowSystem* windows = nullptr;  // only on Calc's thread
  };

 private:
  std::shared_ptr<State> state_;
  std::thread thread_;
};

}  // namespace tavrin

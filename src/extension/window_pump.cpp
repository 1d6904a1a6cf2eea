#include "extension/window_pump.h"

#include <chrono>
#include <memory>

#include <com/sun/star/awt/AsyncCallback.hpp>
#include <com/sun/star/awt/XCallback.hpp>
#include <com/sun/star/awt/XRequestCallback.hpp>
#include <cppuhelper/implbase1.hxx>

namespace tavrin {

namespace uno = com::sun::star::uno;
namespace awt = com::sun::star::awt;

namespace {

// Runs on Calc's thread: delivers the pending events, and says when no window is left.
class PumpOnce : public cppu::WeakImplHelper1<awt::XCallback> {
 public:
  explicit PumpOnce(std::shared_ptr<WindowPump::State> state) : state_(std::move(state)) {}
  void SAL_CALL notify(const uno::Any&) override {
    state_->pending = false;
    if (state_->windows == nullptr) return;
    state_->windows->ProcessPendingEvents();
    if (!state_->windows->HasOpenWindows()) state_->running = false;
  }

 private:
  std::shared_ptr<WindowPump::State> state_;
};

}  // namespace

WindowPump::~WindowPump() {
  Stop();
}

void WindowPump::Stop() {
  if (state_) {
    state_->running = false;
    state_->windows = nullptr;
  }
  if (thread_.joinable()) thread_.join();
}

void WindowPump::Keep(const uno::Reference<uno::XComponentContext>& context,
                      WindowSystem& windows) {
  if (state_ && state_->running && state_->windows == &windows) return;
  Stop();
  state_ = std::make_shared<State>();
  state_->running = true;
  state_->windows = &windows;
  uno::Reference<awt::XRequestCallback> calc = awt::AsyncCallback::create(context);
  uno::Reference<awt::XCallback> once(new PumpOnce(state_));
  thread_ = std::thread([state = state_, calc, once] {
    while (state->running) {
      std::this_thread::sleep_for(std::chrono::milliseconds(30));
      if (state->running && !state->pending.exchange(true)) calc->addCallback(once, uno::Any());
    }
  });
}

}  // namespace tavrin

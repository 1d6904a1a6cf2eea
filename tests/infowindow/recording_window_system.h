#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "host/window_system.h"

namespace tavrin {

// A window system that records every call as text ("SetWindowRgn(1, 101, true)") and delivers
// events the test posts. Windows are 1, 2, ...; regions 101, 102, ...; a new window's extended
// style is 0x100, so a test sees bits added to it rather than written over it.
class RecordingWindowSystem : public WindowSystem {
 public:
  std::vector<std::string> calls;

  // Queued for the next pass of ProcessPendingEvents, after the activations already due.
  void PostMouseDown(Handle window, int button);
  // A click where the label is: reaches the form only while the label is visible.
  void PostLabelClick(Handle window);
  // The alpha values of the SetLayeredWindowAttributes calls on a window, in order.
  std::vector<int> Alphas(Handle window) const;

  Handle CreateFormWindow(int clientWidth, int clientHeight, const Picture& face) override;
  void CreateLabel(Handle window, const std::string& caption, PixelRect where) override;
  void SetLabelVisible(Handle window, bool visible) override;
  void Show(Handle window, std::unique_ptr<FormEvents> form) override;
  void DestroyWindow(Handle window) override;
  std::int32_t GetWindowLong(Handle window, int index) override;
  std::int32_t SetWindowLong(Handle window, int index, std::int32_t value) override;
  Handle CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                            int ellipseHeight) override;
  int SetWindowRgn(Handle window, Handle region, bool redraw) override;
  bool SetLayeredWindowAttributes(Handle window, std::uint32_t colorKey, std::uint8_t alpha,
                                  std::uint32_t flags) override;
  bool ReleaseCapture() override;
  std::intptr_t SendMessage(Handle window, std::uint32_t message, std::intptr_t wParam,
                            std::intptr_t lParam) override;
  void ProcessPendingEvents() override;
  void WaitForEvents() override {}
  bool HasOpenWindows() const override { return !windows.empty(); }

 private:
  enum class Kind { Activate, MouseDown, LabelClick };
  struct Event {
    Handle window;
    Kind kind;
    int button;
  };
  struct Window {
    std::shared_ptr<FormEvents> form;
    std::int32_t extendedStyle = 0x100;
    bool labelVisible = false;
  };

  void Record(std::string call) { calls.push_back(std::move(call)); }

  std::map<Handle, Window> windows;
  std::deque<Event> pending;
  Handle nextWindow = 1;
  Handle nextRegion = 101;
};

}  // namespace tavrin

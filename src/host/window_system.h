#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace tavrin {

// A window or region of the window system; 0 is none.
using Handle = std::intptr_t;

// 24-bit pixels, rows top to bottom, each pixel blue, green, red (3 x width bytes a row).
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> bgr;
};

// A rectangle of a window's client area, in pixels.
struct PixelRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

// The platform's numbers for what the form asks of it.
constexpr int GWL_EXSTYLE = -20;                  // the extended style, by GetWindowLong
constexpr std::int32_t WS_EX_LAYERED = 0x80000;   // extended style: opacity applies
constexpr std::uint32_t LWA_ALPHA = 2;            // SetLayeredWindowAttributes: alpha given
constexpr std::uint32_t WM_NCLBUTTONDOWN = 0xA1;  // a press on the frame of a window
constexpr std::intptr_t HTCAPTION = 2;            // ... on its title bar

// Mouse buttons as the form runtime numbers them.
enum MouseButton : int { vbLeftButton = 1, vbRightButton = 2, vbMiddleButton = 4 };

// The events a window delivers to its form.
class FormEvents {
 public:
  virtual ~FormEvents() = default;
  // The window became active for the first time after it was shown.
  virtual void Activate() = 0;
  // A button went down on the face of the window (not on its label).
  virtual void MouseDown(int button) = 0;
  // The visible label was clicked with the left button.
  virtual void LabelClick() = 0;
};

// The window services of the information window: the form runtime's part (create, show,
// unload a borderless top-level window with a picture face and one label) and the platform
// calls the form makes itself, named and numbered as the form makes them. Results of the
// platform calls are the platform's; the form ignores them.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // A hidden top-level window without border or owner; its face is the picture at the top left.
  virtual Handle CreateFormWindow(int clientWidth, int clientHeight, const Picture& face) = 0;
  // Gives the window its label, hidden.
  virtual void CreateLabel(Handle window, const std::string& caption, PixelRect where) = 0;
  virtual void SetLabelVisible(Handle window, bool visible) = 0;
  // Shows the window modeless. The window system keeps the form from now on and delivers the
  // window's events to it; Activate comes on a later pass of ProcessPendingEvents.
  virtual void Show(Handle window, std::unique_ptr<FormEvents> form) = 0;
  // Unloads: the window goes away; its form is released once the event it handles returns.
  virtual void DestroyWindow(Handle window) = 0;

  virtual std::int32_t GetWindowLong(Handle window, int index) = 0;
  virtual std::int32_t SetWindowLong(Handle window, int index, std::int32_t value) = 0;
  // A rectangle from (left, top) to (right, bottom), right and bottom excluded, with corners
  // cut by an ellipse of ellipseWidth x ellipseHeight.
  virtual Handle CreateRoundRectRgn(int left, int top, int right, int bottom, int ellipseWidth,
                                    int ellipseHeight) = 0;
  // The window's shape and the only part of it that takes the mouse; takes the region over.
  virtual int SetWindowRgn(Handle window, Handle region, bool redraw) = 0;
  // With LWA_ALPHA, on a window with WS_EX_LAYERED: its opacity is alpha (0 clear, 255 opaque).
  virtual bool SetLayeredWindowAttributes(Handle window, std::uint32_t colorKey, std::uint8_t alpha,
                                          std::uint32_t flags) = 0;
  virtual bool ReleaseCapture() = 0;
  // WM_NCLBUTTONDOWN with HTCAPTION starts a move of the window by the mouse, as a drag of its
  // title bar would.
  virtual std::intptr_t SendMessage(Handle window, std::uint32_t message, std::intptr_t wParam,
                                    std::intptr_t lParam) = 0;

  // Delivers the events already pending, without waiting.
  virtual void ProcessPendingEvents() = 0;
  // Waits until an event is pending; returns at once when no window is open.
  virtual void WaitForEvents() = 0;
  virtual bool HasOpenWindows() const = 0;
};

// The event loop of a program whose only windows are these: runs until the last one closes.
inline void RunUntilClosed(WindowSystem& windows) {
  while (windows.HasOpenWindows()) {
    windows.WaitForEvents();
    windows.ProcessPendingEvents();
  }
}

}  // namespace tavrin

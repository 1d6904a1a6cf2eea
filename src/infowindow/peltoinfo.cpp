#include "infowindow/peltoinfo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>

#include "infowindow/info_picture.h"

namespace tavrin {

namespace {

constexpr double fadeSeconds = 2;
constexpr int twipsPerPixel = 15;

// The design-time geometry, in twips.
constexpr int formWidth = 7560, formHeight = 5610;
constexpr int labelLeft = 5520, labelTop = 4880, labelWidth = 1335, labelHeight = 375;

int Pixels(int twips) {
  return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixel));
}

// A value converted to a byte as the runtime rounds (half to even). The clock's last read of a
// fade may fall past its 2 seconds; the value is then held at the end of the range instead of
// failing with an overflow.
std::uint8_t AlphaByte(double value) {
  return static_cast<std::uint8_t>(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

}  // namespace

Peltoinfo::Peltoinfo(Runtime& services) : runtime(services), windows(services.WindowSystem()) {
  hWnd = windows.CreateFormWindow(Pixels(formWidth), Pixels(formHeight), InfoPicture());
  windows.CreateLabel(
      hWnd, "关  闭",
      {Pixels(labelLeft), Pixels(labelTop), Pixels(labelWidth), Pixels(labelHeight)});
  Initialize();
}

void Peltoinfo::ShowNew(Runtime& services) {
  auto form = std::make_unique<Peltoinfo>(services);
  Handle window = form->Window();
  services.WindowSystem().Show(window, std::move(form));
}

void Peltoinfo::Initialize() {
  std::int32_t style = windows.GetWindowLong(hWnd, GWL_EXSTYLE);
  windows.SetWindowLong(hWnd, GWL_EXSTYLE, style | WS_EX_LAYERED);
  Handle region = windows.CreateRoundRectRgn(1, 1, 500, 368, 50, 50);
  windows.SetWindowRgn(hWnd, region, true);
}

double Peltoinfo::Elapsed(double start) {
  double seconds = runtime.Timer() - start;
  // The clock restarts at midnight; a fade that spans it still lasts 2 seconds.
  return seconds < 0 ? seconds + 86400 : seconds;
}

void Peltoinfo::Activate() {
  double start = runtime.Timer();
  std::uint8_t alpha = 0;
  while (Elapsed(start) < fadeSeconds) {
    windows.SetLayeredWindowAttributes(hWnd, 0, alpha, LWA_ALPHA);
    runtime.DoEvents();
    alpha = AlphaByte(255 * Elapsed(start) / fadeSeconds);
  }
  windows.SetLayeredWindowAttributes(hWnd, 0, 255, LWA_ALPHA);
  windows.SetLabelVisible(hWnd, true);
}

void Peltoinfo::MouseDown(int button) {
  if (button != vbLeftButton) return;
  windows.ReleaseCapture();
  windows.SendMessage(hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void Peltoinfo::LabelClick() {
  windows.SetLabelVisible(hWnd, false);
  double start = runtime.Timer();
  std::uint8_t alpha = 255;
  while (Elapsed(start) < fadeSeconds) {
    windows.SetLayeredWindowAttributes(hWnd, 0, alpha, LWA_ALPHA);
    runtime.DoEvents();
    alpha = AlphaByte(255 - 255 * Elapsed(start) / fadeSeconds);
  }
  // Unload; the window system releases this form once this handler has returned.
  windows.DestroyWindow(hWnd);
}

}  // namespace tavrin

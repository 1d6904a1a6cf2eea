#include "infowindow/peltoinfo.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <utility>

#include "infowindow/info_design.h"
#include "infowindow/info_picture.h"

namespace tavrin {

namespace {

// A value converted to a byte as the runtime rounds (half to even). The clock's last read of a
// fade may fall past its 2 seconds; the value is then held at the end of the range instead of
// failing with an overflow.
std::uint8_t AlphaByte(double value) {
  return static_cast<std::uint8_t>(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

}  // namespace

Peltoinfo::Peltoinfo(Runtime& services) : runtime(services), windows(services.WindowSystem()) {
  using D = InfoDesign;
  hWnd = windows.CreateFormWindow(D::Pixels(D::formWidth), D::Pixels(D::formHeight), InfoPicture());
  windows.CreateLabel(hWnd, D::labelCaption,
                      {D::Pixels(D::labelLeft), D::Pixels(D::labelTop), D::Pixels(D::labelWidth),
                       D::Pixels(D::labelHeight)});
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
  using D = InfoDesign;
  Handle region = windows.CreateRoundRectRgn(D::regionLeft, D::regionTop, D::regionRight,
                                             D::regionBottom, D::regionEllipse, D::regionEllipse);
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
  while (Elapsed(start) < InfoDesign::fadeSeconds) {
    windows.SetLayeredWindowAttributes(hWnd, 0, alpha, LWA_ALPHA);
    runtime.DoEvents();
    alpha = AlphaByte(255 * Elapsed(start) / InfoDesign::fadeSeconds);
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
  while (Elapsed(start) < InfoDesign::fadeSeconds) {
    windows.SetLayeredWindowAttributes(hWnd, 0, alpha, LWA_ALPHA);
    runtime.DoEvents();
    alpha = AlphaByte(255 - 255 * Elapsed(start) / InfoDesign::fadeSeconds);
  }
  // Unload; the window system releases this form once this handler has returned.
  windows.DestroyWindow(hWnd);
}

}  // namespace tavrin

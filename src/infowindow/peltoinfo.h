#pragma once

#include "host/runtime.h"
#include "host/window_system.h"

namespace tavrin {

// The information window: a face cut to a rounded rectangle that fades in when it is shown,
// drags with the left button anywhere on its face, and fades out and unloads when its close
// label is clicked.
class Peltoinfo : public FormEvents {
 public:
  // Loads the form: its window with the picture face and the hidden label, then Initialize.
  explicit Peltoinfo(Runtime& services);

  // Creates a new instance and shows it modeless; the window system keeps it until it unloads.
  static void ShowNew(Runtime& services);

  // Form_Initialize: the window becomes layered and is cut to its rounded region.
  void Initialize();
  // Form_Activate: fades in over 2 seconds, then shows the close label.
  void Activate() override;
  // Form_MouseDown: the left button drags the window as its title bar would.
  void MouseDown(int button) override;
  // Label1_Click: hides the label, fades out over 2 seconds and unloads.
  void LabelClick() override;

  Handle Window() const { return hWnd; }

 private:
  // Seconds since start on the runtime's clock, across midnight.
  double Elapsed(double start);

  Runtime& runtime;
  WindowSystem& windows;
  Handle hWnd = 0;
};

}  // namespace tavrin

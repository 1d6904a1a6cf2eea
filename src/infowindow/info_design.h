#pragma once

#include <cmath>

namespace tavrin {

// The information window as it was designed: the form and its close label in twips (15 to a
// pixel), the rounded region it is cut to in pixels, and how long it fades in and out. Another
// face drawing the window (the browser page) takes its geometry from here.
struct InfoDesign {
  static constexpr int twipsPerPixel = 15;
  static constexpr int formWidth = 7560, formHeight = 5610;
  static constexpr int labelLeft = 5520, labelTop = 4880, labelWidth = 1335, labelHeight = 375;
  static constexpr const char* labelCaption = "关  闭";
  // The region's corners and the width and height of the ellipse that rounds them.
  static constexpr int regionLeft = 1, regionTop = 1, regionRight = 500, regionBottom = 368;
  static constexpr int regionEllipse = 50;
  static constexpr double fadeSeconds = 2;

  static int Pixels(int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) / twipsPerPixel));
  }
};

}  // namespace tavrin

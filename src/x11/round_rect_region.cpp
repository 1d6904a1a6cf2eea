#include "x11/round_rect_region.h"

#include <algorithm>
#include <cmath>

namespace tavrin {

std::vector<XRectangle> RoundRectRectangles(int left, int top, int right, int bottom,
                                            int ellipseWidth, int ellipseHeight) {
  double rx = ellipseWidth / 2.0;
  double ry = ellipseHeight / 2.0;
  std::vector<XRectangle> rectangles;
  for (int y = top; y < bottom; ++y) {
    // How far the middle of the row lies inside a corner's band, then the ellipse's inset there.
    double middle = y + 0.5;
    double depth = std::max({0.0, top + ry - middle, middle - (bottom - ry)});
    double inset =
        depth > 0 ? rx - rx * std::sqrt(std::max(0.0, 1 - (depth / ry) * (depth / ry))) : 0.0;
    int from = left + static_cast<int>(std::lround(inset));
    int to = right - static_cast<int>(std::lround(inset));
    if (to <= from) continue;
    if (!rectangles.empty()) {
      XRectangle& last = rectangles.back();
      if (last.x == from && last.width == to - from && last.y + last.height == y) {
        ++last.height;
        continue;
      }
    }
    rectangles.push_back({static_cast<short>(from), static_cast<short>(y),
                          static_cast<unsigned short>(to - from), 1});
  }
  return rectangles;
}

}  // namespace tavrin

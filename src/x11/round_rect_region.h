#pragma once

#include <X11/Xlib.h>

#include <vector>

namespace tavrin {

// A rounded rectangle as rectangles in y-x banded order, for the shape extension: from (left,
// top) to (right, bottom), right and bottom excluded, each corner cut by a quarter of an
// ellipse of ellipseWidth x ellipseHeight. Rows of equal extent are merged into one rectangle.
std::vector<XRectangle> RoundRectRectangles(int left, int top, int right, int bottom,
                                            int ellipseWidth, int ellipseHeight);

}  // namespace tavrin

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "component/korvel.h"
#include "infowindow/info_picture.h"
#include "infowindow/window_test_runtime.h"
#include "infowindow/xvfb_server.h"
#include "x11/x11_window_system.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

// fontconfig, which draws the caption, leaks a little of its configuration as it parses it; the
// sanitizers' leak check leaves that to fontconfig.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n";
}

namespace tavrin {
namespace {

// An X window id (the host's object model has a Window of its own).
using XWindow = ::Window;

// The label's rectangle in pixels, where the close label is drawn over the picture.
constexpr int labelLeft = 368, labelTop = 325, labelWidth = 89, labelHeight = 25;

// The information window on a real X server, watched through a second connection: the
// program's clock moves a second a read, so each fade takes two passes.
class X11WindowTest : public testing::Test {
 protected:
  void SetUp() override {
    if (!XvfbServer::Installed()) GTEST_SKIP() << "Xvfb is not installed (scripts/install-deps)";
    server = std::make_unique<XvfbServer>();
    ASSERT_FALSE(server->DisplayName().empty()) << "Xvfb did not start";
    setenv("DISPLAY", server->DisplayName().c_str(), 1);
    windows = OpenX11WindowSystem();
    ASSERT_NE(windows, nullptr);
    probe = XOpenDisplay(server->DisplayName().c_str());
    ASSERT_NE(probe, nullptr);
    runtime = std::make_unique<WindowTestRuntime>(*windows);
    korvel = std::make_unique<Korvel>(*runtime);
  }

  void TearDown() override {
    korvel.reset();
    runtime.reset();
    windows.reset();
    if (probe != nullptr) XCloseDisplay(probe);
  }

  // Pumps the program's events until `done`, for at most `passes` hundredths of a second.
  bool PumpUntil(const std::function<bool()>& done, int passes = 500) {
    for (int pass = 0; pass < passes; ++pass) {
      windows->ProcessPendingEvents();
      XSync(probe, False);
      if (done()) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
  }

  // The top-level windows on the screen (there is no window manager).
  std::vector<XWindow> TopLevels() {
    XWindow root, parent, *children = nullptr;
    unsigned int count = 0;
    XQueryTree(probe, DefaultRootWindow(probe), &root, &parent, &children, &count);
    std::vector<XWindow> found(children, children + count);
    if (children != nullptr) XFree(children);
    return found;
  }

  // _NET_WM_WINDOW_OPACITY of a window, or -1 when it has none.
  long long Opacity(XWindow window) {
    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* data = nullptr;
    Atom opacity = XInternAtom(probe, "_NET_WM_WINDOW_OPACITY", False);
    XGetWindowProperty(probe, window, opacity, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                       &after, &data);
    // Xlib hands 32-bit items over as longs, sign-extended.
    long long value = count == 1 ? *reinterpret_cast<unsigned long*>(data) & 0xFFFFFFFFUL : -1;
    if (data != nullptr) XFree(data);
    return value;
  }

  // Shows one information window and pumps until its fade-in has ended.
  XWindow ShowFadedIn() {
    korvel->ShowInfo();
    XWindow window = 0;
    bool opaque = PumpUntil([&] {
      std::vector<XWindow> tops = TopLevels();
      window = tops.empty() ? 0 : tops.back();
      return window != 0 && Opacity(window) == 0xFFFFFFFFLL;
    });
    EXPECT_TRUE(opaque) << "the window never became opaque";
    return window;
  }

  void SendButton(XWindow window, int type, unsigned int button, int x, int y) {
    XEvent event{};
    event.xbutton.type = type;
    event.xbutton.window = window;
    event.xbutton.root = DefaultRootWindow(probe);
    event.xbutton.button = button;
    event.xbutton.x = x;
    event.xbutton.y = y;
    event.xbutton.same_screen = True;
    XSendEvent(probe, window, False, type == ButtonPress ? ButtonPressMask : ButtonReleaseMask,
               &event);
    XFlush(probe);
  }

  std::unique_ptr<XvfbServer> server;
  std::unique_ptr<WindowSystem> windows;
  Display* probe = nullptr;
  std::unique_ptr<WindowTestRuntime> runtime;
  std::unique_ptr<Korvel> korvel;
};

bool Inside(const XRectangle* rectangles, int count, int x, int y) {
  for (int i = 0; i < count; ++i) {
    const XRectangle& r = rectangles[i];
    if (x >= r.x && x < r.x + r.width && y >= r.y && y < r.y + r.height) return true;
  }
  return false;
}

TEST_F(X11WindowTest, MapsRoundedAndOpaqueShowingThePictureInsideTheRegion) {
  XWindow window = ShowFadedIn();
  ASSERT_NE(window, 0u);
  XWindowAttributes attributes;
  XGetWindowAttributes(probe, window, &attributes);
  EXPECT_EQ(attributes.map_state, IsViewable);
  EXPECT_EQ(attributes.width, 504);
  EXPECT_EQ(attributes.height, 374);

  // Both what is drawn and what takes clicks are the rounded region (1, 1) to (500, 368).
  for (int kind : {ShapeBounding, ShapeInput}) {
    int count = 0, ordering = 0;
    XRectangle* shape = XShapeGetRectangles(probe, window, kind, &count, &ordering);
    ASSERT_GT(count, 1);
    EXPECT_TRUE(Inside(shape, count, 1, 184));
    EXPECT_TRUE(Inside(shape, count, 499, 184));
    EXPECT_TRUE(Inside(shape, count, 250, 1));
    EXPECT_TRUE(Inside(shape, count, 250, 367));
    for (auto [x, y] : {std::pair{0, 0}, {2, 2}, {0, 184}, {500, 184}, {498, 366}, {250, 368}}) {
      EXPECT_FALSE(Inside(shape, count, x, y)) << x << "," << y;
    }
    XFree(shape);
  }

  // A screenshot of the screen where the window is: the picture inside the region (but for the
  // close label), whatever is behind outside it.
  int count = 0, ordering = 0;
  XRectangle* shape = XShapeGetRectangles(probe, window, ShapeBounding, &count, &ordering);
  XWindow child;
  int left = 0, top = 0;
  XTranslateCoordinates(probe, window, DefaultRootWindow(probe), 0, 0, &left, &top, &child);
  XImage* screen =
      XGetImage(probe, DefaultRootWindow(probe), left, top, 504, 373, AllPlanes, ZPixmap);
  ASSERT_NE(screen, nullptr);
  const Picture& face = InfoPicture();
  int insideDiffering = 0, outsideMatching = 0, labelDiffering = 0;
  for (int y = 0; y < 373; ++y) {
    for (int x = 0; x < 504; ++x) {
      const std::uint8_t* bgr = &face.bgr[(y * face.width + x) * 3];
      bool same = XGetPixel(screen, x, y) ==
                  (static_cast<unsigned long>(bgr[2]) << 16 | bgr[1] << 8 | bgr[0]);
      bool onLabel = x >= labelLeft && x < labelLeft + labelWidth && y >= labelTop &&
                     y < labelTop + labelHeight;
      if (onLabel) {
        labelDiffering += !same;
      } else if (Inside(shape, count, x, y)) {
        insideDiffering += !same;
      } else {
        outsideMatching += same;
      }
    }
  }
  XDestroyImage(screen);
  XFree(shape);
  EXPECT_EQ(insideDiffering, 0);
  EXPECT_EQ(outsideMatching, 0);
  EXPECT_GT(labelDiffering, 0) << "the close label is not drawn";
}

// Whether fontconfig knows a font for Simplified Chinese (scripts/install-deps installs one).
bool ChineseFontInstalled() {
  std::unique_ptr<FILE, decltype(&pclose)> list(
      popen("fc-list :lang=zh-cn family 2>/dev/null", "r"), pclose);
  char line[256];
  return list && fgets(line, sizeof line, list.get()) != nullptr;
}

// The dark pixels of the close label on the screen, by row and column of the label.
using Ink = std::vector<std::vector<bool>>;

// The runs of columns holding ink, left to right, as [first, last] pairs.
std::vector<std::pair<int, int>> InkedColumnRuns(const Ink& ink) {
  std::vector<std::pair<int, int>> runs;
  for (int x = 0; x < labelWidth; ++x) {
    bool inked = false;
    for (int y = 0; y < labelHeight; ++y) inked = inked || ink[y][x];
    if (!inked) continue;
    if (!runs.empty() && runs.back().second == x - 1) {
      runs.back().second = x;
    } else {
      runs.push_back({x, x});
    }
  }
  return runs;
}

TEST_F(X11WindowTest, TheCloseLabelShowsItsChineseCaption) {
  if (!ChineseFontInstalled()) {
    GTEST_SKIP() << "no font for Chinese (scripts/install-deps installs fonts-wqy-zenhei)";
  }
  XWindow window = ShowFadedIn();
  ASSERT_NE(window, 0u);
  XWindow child;
  int left = 0, top = 0;
  XTranslateCoordinates(probe, window, DefaultRootWindow(probe), labelLeft, labelTop, &left, &top,
                        &child);
  XImage* screen = XGetImage(probe, DefaultRootWindow(probe), left, top, labelWidth, labelHeight,
                             AllPlanes, ZPixmap);
  ASSERT_NE(screen, nullptr);
  Ink ink(labelHeight, std::vector<bool>(labelWidth));
  for (int y = 0; y < labelHeight; ++y) {
    for (int x = 0; x < labelWidth; ++x) {
      unsigned long pixel = XGetPixel(screen, x, y);
      ink[y][x] = (pixel >> 16 & 0xFF) < 128 && (pixel >> 8 & 0xFF) < 128 && (pixel & 0xFF) < 128;
    }
  }
  XDestroyImage(screen);

  // "关  闭": two glyphs of a 20-pixel font with the two blanks between them.
  std::vector<std::pair<int, int>> glyphs = InkedColumnRuns(ink);
  ASSERT_EQ(glyphs.size(), 2u) << "a cross, or no caption";
  for (auto [first, last] : glyphs) {
    EXPECT_GE(last - first + 1, 12);
    EXPECT_LE(last - first + 1, 22);
  }
  EXPECT_GE(glyphs[1].first - glyphs[0].second, 8) << "the two blanks";
  auto inkedRows = [&](int x) {
    int rows = 0;
    for (int y = 0; y < labelHeight; ++y) rows += ink[y][x];
    return rows;
  };
  // 关: its top rows of ink are the two strokes of 丷, apart.
  int topRow = 0;
  while (topRow < labelHeight &&
         !std::any_of(ink[topRow].begin(), ink[topRow].end(), [](bool inked) { return inked; })) {
    ++topRow;
  }
  int strokes = 0;
  for (int y = topRow; y < std::min(topRow + 4, labelHeight); ++y) {
    int inRow = 0;
    for (int x = glyphs[0].first; x <= glyphs[0].second; ++x)
      inRow += ink[y][x] && (x == 0 || !ink[y][x - 1]);
    strokes = std::max(strokes, inRow);
  }
  EXPECT_EQ(strokes, 2) << "关 starts with two strokes side by side";
  // 闭: the door's left post runs down most of the glyph.
  int tallest = 0;
  for (int x = glyphs[1].first; x <= glyphs[1].first + 3; ++x) {
    tallest = std::max(tallest, inkedRows(x));
  }
  EXPECT_GE(tallest, 14) << "闭 has a post down its left side";
}

TEST_F(X11WindowTest, LeftButtonAsksForAMoveAndTheLabelCloses) {
  XWindow window = ShowFadedIn();
  ASSERT_NE(window, 0u);
  // The move request goes to the root window, where a window manager would take it.
  XSelectInput(probe, DefaultRootWindow(probe), SubstructureNotifyMask);
  Atom moveResize = XInternAtom(probe, "_NET_WM_MOVERESIZE", False);
  auto moveRequests = [&] {
    int requests = 0;
    while (XPending(probe) > 0) {
      XEvent event;
      XNextEvent(probe, &event);
      if (event.type == ClientMessage && event.xclient.message_type == moveResize &&
          event.xclient.window == window && event.xclient.data.l[2] == 8 &&
          event.xclient.data.l[3] == 1) {
        ++requests;
      }
    }
    return requests;
  };

  SendButton(window, ButtonPress, Button3, 100, 100);
  SendButton(window, ButtonPress, Button2, 100, 100);
  PumpUntil([] { return false; }, 30);
  EXPECT_EQ(moveRequests(), 0);
  SendButton(window, ButtonPress, Button1, 100, 100);
  int requests = 0;
  PumpUntil([&] { return (requests += moveRequests()) > 0; });
  EXPECT_EQ(requests, 1);

  SendButton(window, ButtonPress, Button1, labelLeft + 40, labelTop + 10);
  SendButton(window, ButtonRelease, Button1, labelLeft + 40, labelTop + 10);
  EXPECT_TRUE(PumpUntil([&] { return !windows->HasOpenWindows(); }));
  EXPECT_TRUE(PumpUntil([&] { return TopLevels().empty(); }));
}

}  // namespace
}  // namespace tavrin

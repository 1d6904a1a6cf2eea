#include "x11/x11_window_system.h"

#include <X11/Xatom.h>
#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <bit>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "x11/round_rect_region.h"

namespace tavrin {

namespace {

constexpr long moveResizeMove = 8;  // _NET_WM_MOVERESIZE_MOVE
constexpr unsigned long buttonFace = 0xF0F0F0;

// The label's font: 宋体 at 15 points (20 pixels at 96 dots an inch) where it is installed, else
// another font fontconfig has for Simplified Chinese, such as WenQuanYi Zen Hei.
constexpr const char* captionFont =
    "SimSun,宋体,WenQuanYi Zen Hei,Noto Sans CJK SC:lang=zh-cn:pixelsize=20";

struct ImageDeleter {
  void operator()(XImage* image) const { XDestroyImage(image); }
};
using Image = std::unique_ptr<XImage, ImageDeleter>;

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};

struct DrawDestroyer {
  void operator()(XftDraw* draw) const { XftDrawDestroy(draw); }
};
using Draw = std::unique_ptr<XftDraw, DrawDestroyer>;

// Whether a font has a glyph for every character of a UTF-8 text.
bool HasEveryCharacter(Display* display, XftFont* font, const std::string& text) {
  const auto* bytes = reinterpret_cast<const FcChar8*>(text.data());
  int left = static_cast<int>(text.size());
  while (left > 0) {
    FcChar32 character = 0;
    int length = FcUtf8ToUcs4(bytes, &character, left);
    if (length <= 0 || !XftCharExists(display, font, character)) return false;
    bytes += length;
    left -= length;
  }
  return true;
}

// A colour channel of 8 bits placed into a true-colour visual's mask.
unsigned long Channel(unsigned int value, unsigned long mask) {
  int bits = std::popcount(mask);
  return (static_cast<unsigned long>(value) >> (8 - bits)) << std::countr_zero(mask);
}

unsigned long PixelOf(const Visual* visual, unsigned long rgb) {
  return Channel(rgb >> 16 & 0xFF, visual->red_mask) |
         Channel(rgb >> 8 & 0xFF, visual->green_mask) | Channel(rgb & 0xFF, visual->blue_mask);
}

// Form runtime's numbering of X's buttons 1 left, 2 middle, 3 right; wheel steps are none.
int FormButton(unsigned int button) {
  switch (button) {
    case Button1:
      return vbLeftButton;
    case Button2:
      return vbMiddleButton;
    case Button3:
      return vbRightButton;
    default:
      return 0;
  }
}

class X11WindowSystem : public WindowSystem {
 public:
  explicit X11WindowSystem(Display* opened);
  ~X11WindowSystem() override;

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
  void WaitForEvents() override;
  bool HasOpenWindows() const override { return !windows.empty(); }

 private:
  struct FormWindow {
    Image face;
    Draw draw;
    std::string caption;
    PixelRect label;
    bool labelVisible = false;
    bool labelPressed = false;
    std::int32_t extendedStyle = 0;
    bool activated = false;
    std::shared_ptr<FormEvents> form;
  };

  void Dispatch(XEvent& event);
  void Paint(Window window, FormWindow& state);
  static bool OnLabel(const FormWindow& state, int x, int y);
  Atom Intern(const char* name) { return XInternAtom(display.get(), name, False); }

  std::unique_ptr<Display, DisplayCloser> display;
  int screen;
  Visual* visual;
  Colormap colormap;
  GC gc;
  XftFont* font = nullptr;
  XftColor ink{};
  Atom opacity, moveResize, motifHints, protocols, deleteWindow;
  std::map<Handle, FormWindow> windows;
  std::map<Handle, std::vector<XRectangle>> regions;
  Handle nextRegion = 1;
};

X11WindowSystem::X11WindowSystem(Display* opened)
    : display(opened),
      screen(DefaultScreen(opened)),
      visual(DefaultVisual(opened, screen)),
      colormap(DefaultColormap(opened, screen)),
      gc(XCreateGC(opened, RootWindow(opened, screen), 0, nullptr)),
      opacity(Intern("_NET_WM_WINDOW_OPACITY")),
      moveResize(Intern("_NET_WM_MOVERESIZE")),
      motifHints(Intern("_MOTIF_WM_HINTS")),
      protocols(Intern("WM_PROTOCOLS")),
      deleteWindow(Intern("WM_DELETE_WINDOW")) {
  // Text is drawn with Xft, antialiased, in fonts fontconfig finds on this machine: the X server
  // needs no fonts of its own (a bare Xvfb has none for Chinese).
  font = XftFontOpenName(display.get(), screen, captionFont);
  XRenderColor black{0, 0, 0, 0xFFFF};
  XftColorAllocValue(display.get(), visual, colormap, &black, &ink);
}

X11WindowSystem::~X11WindowSystem() {
  for (auto& entry : windows) {
    entry.second.draw.reset();
    XDestroyWindow(display.get(), entry.first);
  }
  windows.clear();
  XftColorFree(display.get(), visual, colormap, &ink);
  if (font != nullptr) XftFontClose(display.get(), font);
  XFreeGC(display.get(), gc);
}

Handle X11WindowSystem::CreateFormWindow(int clientWidth, int clientHeight, const Picture& face) {
  Window root = RootWindow(display.get(), screen);
  XSetWindowAttributes attributes{};
  attributes.background_pixel = PixelOf(visual, buttonFace);
  attributes.event_mask = ExposureMask | ButtonPressMask | ButtonReleaseMask | StructureNotifyMask;
  // Centred on the screen.
  int x = (DisplayWidth(display.get(), screen) - clientWidth) / 2;
  int y = (DisplayHeight(display.get(), screen) - clientHeight) / 2;
  Window window =
      XCreateWindow(display.get(), root, x, y, clientWidth, clientHeight, 0, CopyFromParent,
                    InputOutput, CopyFromParent, CWBackPixel | CWEventMask, &attributes);
  XStoreName(display.get(), window, "Tavrin");
  XSetWMProtocols(display.get(), window, &deleteWindow, 1);
  // No border or title bar, a fixed size, and the place asked for.
  long decorationsOnly[5] = {2, 0, 0, 0, 0};
  XChangeProperty(display.get(), window, motifHints, motifHints, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(decorationsOnly), 5);
  XSizeHints size{};
  size.flags = PPosition | PMinSize | PMaxSize;
  size.min_width = size.max_width = clientWidth;
  size.min_height = size.max_height = clientHeight;
  XSetWMNormalHints(display.get(), window, &size);

  int depth = DefaultDepth(display.get(), screen);
  Image image(XCreateImage(display.get(), visual, depth, ZPixmap, 0, nullptr, face.width,
                           face.height, 32, 0));
  image->data = static_cast<char*>(std::malloc(image->bytes_per_line * face.height));
  for (int row = 0; row < face.height; ++row) {
    for (int column = 0; column < face.width; ++column) {
      const std::uint8_t* bgr = &face.bgr[(row * face.width + column) * 3];
      XPutPixel(image.get(), column, row, PixelOf(visual, bgr[2] << 16 | bgr[1] << 8 | bgr[0]));
    }
  }
  windows[window].face = std::move(image);
  return window;
}

void X11WindowSystem::CreateLabel(Handle window, const std::string& caption, PixelRect where) {
  FormWindow& state = windows.at(window);
  state.caption = caption;
  state.label = where;
}

void X11WindowSystem::SetLabelVisible(Handle window, bool visible) {
  FormWindow& state = windows.at(window);
  state.labelVisible = visible;
  Paint(window, state);
}

void X11WindowSystem::Show(Handle window, std::unique_ptr<FormEvents> form) {
  windows.at(window).form = std::move(form);
  XMapRaised(display.get(), window);
  XFlush(display.get());
}

void X11WindowSystem::DestroyWindow(Handle window) {
  // The window's draw goes with its state, before the window itself.
  if (windows.erase(window) == 0) return;
  XDestroyWindow(display.get(), window);
  XFlush(display.get());
}

std::int32_t X11WindowSystem::GetWindowLong(Handle window, int index) {
  return index == GWL_EXSTYLE ? windows.at(window).extendedStyle : 0;
}

std::int32_t X11WindowSystem::SetWindowLong(Handle window, int index, std::int32_t value) {
  if (index != GWL_EXSTYLE) return 0;
  return std::exchange(windows.at(window).extendedStyle, value);
}

Handle X11WindowSystem::CreateRoundRectRgn(int left, int top, int right, int bottom,
                                           int ellipseWidth, int ellipseHeight) {
  regions[nextRegion] = RoundRectRectangles(left, top, right, bottom, ellipseWidth, ellipseHeight);
  return nextRegion++;
}

int X11WindowSystem::SetWindowRgn(Handle window, Handle region, bool /*redraw*/) {
  auto found = regions.find(region);
  if (found == regions.end()) return 0;
  // The bounding shape clips what is drawn; the input shape lets clicks outside reach the
  // window behind. The server redraws what the new shape uncovers.
  for (int kind : {ShapeBounding, ShapeInput}) {
    XShapeCombineRectangles(display.get(), window, kind, 0, 0, found->second.data(),
                            static_cast<int>(found->second.size()), ShapeSet, YXBanded);
  }
  regions.erase(found);
  XFlush(display.get());
  return 1;
}

bool X11WindowSystem::SetLayeredWindowAttributes(Handle window, std::uint32_t /*colorKey*/,
                                                 std::uint8_t alpha, std::uint32_t flags) {
  if ((windows.at(window).extendedStyle & WS_EX_LAYERED) == 0 || (flags & LWA_ALPHA) == 0) {
    return false;
  }
  // The property is a 32-bit fraction of full opacity; format 32 data travels as longs.
  unsigned long value = alpha * 0x01010101UL;
  XChangeProperty(display.get(), window, opacity, XA_CARDINAL, 32, PropModeReplace,
                  reinterpret_cast<unsigned char*>(&value), 1);
  XFlush(display.get());
  return true;
}

bool X11WindowSystem::ReleaseCapture() {
  // The press on the face grabbed the pointer; the window manager needs it for the move.
  XUngrabPointer(display.get(), CurrentTime);
  XFlush(display.get());
  return true;
}

std::intptr_t X11WindowSystem::SendMessage(Handle window, std::uint32_t message,
                                           std::intptr_t wParam, std::intptr_t /*lParam*/) {
  if (message != WM_NCLBUTTONDOWN || wParam != HTCAPTION) return 0;
  Window root = RootWindow(display.get(), screen);
  Window rootReturn, child;
  int rootX = 0, rootY = 0, windowX = 0, windowY = 0;
  unsigned int buttons = 0;
  XQueryPointer(display.get(), window, &rootReturn, &child, &rootX, &rootY, &windowX, &windowY,
                &buttons);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = moveResize;
  event.xclient.format = 32;
  event.xclient.data.l[0] = rootX;
  event.xclient.data.l[1] = rootY;
  event.xclient.data.l[2] = moveResizeMove;
  event.xclient.data.l[3] = Button1;
  event.xclient.data.l[4] = 1;  // asked for by an application
  XSendEvent(display.get(), root, False, SubstructureRedirectMask | SubstructureNotifyMask, &event);
  XFlush(display.get());
  return 0;
}

void X11WindowSystem::ProcessPendingEvents() {
  while (XPending(display.get()) > 0) {
    XEvent event;
    XNextEvent(display.get(), &event);
    Dispatch(event);
  }
}

void X11WindowSystem::WaitForEvents() {
  if (windows.empty()) return;
  XEvent event;
  XPeekEvent(display.get(), &event);
}

bool X11WindowSystem::OnLabel(const FormWindow& state, int x, int y) {
  const PixelRect& r = state.label;
  return state.labelVisible && x >= r.left && x < r.left + r.width && y >= r.top &&
         y < r.top + r.height;
}

void X11WindowSystem::Dispatch(XEvent& event) {
  auto found = windows.find(event.xany.window);
  if (found == windows.end()) return;
  FormWindow& state = found->second;
  // Held here so a form that unloads itself lives until its handler returns; the window's
  // state may be gone once the form has run.
  std::shared_ptr<FormEvents> form = state.form;
  switch (event.type) {
    case Expose:
      if (event.xexpose.count == 0) Paint(event.xany.window, state);
      break;
    case MapNotify:
      if (form && !state.activated) {
        state.activated = true;
        form->Activate();
      }
      break;
    case ButtonPress: {
      int button = FormButton(event.xbutton.button);
      if (OnLabel(state, event.xbutton.x, event.xbutton.y)) {
        // A press on the label is the label's; the form's face does not see it.
        state.labelPressed = button == vbLeftButton;
      } else if (form && button != 0) {
        form->MouseDown(button);
      }
      break;
    }
    case ButtonRelease:
      if (event.xbutton.button == Button1 && state.labelPressed) {
        state.labelPressed = false;
        if (form && OnLabel(state, event.xbutton.x, event.xbutton.y)) form->LabelClick();
      }
      break;
    case ClientMessage:
      if (event.xclient.message_type == protocols &&
          static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
        DestroyWindow(event.xany.window);
      }
      break;
  }
}

void X11WindowSystem::Paint(Window window, FormWindow& state) {
  XPutImage(display.get(), window, gc, state.face.get(), 0, 0, 0, 0, state.face->width,
            state.face->height);
  if (state.labelVisible) {
    const PixelRect& r = state.label;
    XSetForeground(display.get(), gc, PixelOf(visual, buttonFace));
    XFillRectangle(display.get(), window, gc, r.left, r.top, r.width, r.height);
    XSetForeground(display.get(), gc, PixelOf(visual, 0x000000));
    if (font != nullptr && HasEveryCharacter(display.get(), font, state.caption)) {
      if (!state.draw) state.draw.reset(XftDrawCreate(display.get(), window, visual, colormap));
      int baseline = r.top + (r.height - font->ascent - font->descent) / 2 + font->ascent;
      XftDrawStringUtf8(state.draw.get(), &ink, font, r.left + 4, baseline,
                        reinterpret_cast<const FcChar8*>(state.caption.data()),
                        static_cast<int>(state.caption.size()));
    } else {
      // No font here has the caption's characters: a cross, which closes the window as well.
      int side = r.height / 2;
      int x = r.left + (r.width - side) / 2;
      int y = r.top + (r.height - side) / 2;
      XDrawLine(display.get(), window, gc, x, y, x + side, y + side);
      XDrawLine(display.get(), window, gc, x, y + side, x + side, y);
    }
  }
  // Drawn once this returns: whoever looks at the screen next sees the face as painted.
  XSync(display.get(), False);
}

}  // namespace

std::unique_ptr<WindowSystem> OpenX11WindowSystem() {
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) return nullptr;
  int shapeEvent = 0, shapeError = 0;
  if (!XShapeQueryExtension(display, &shapeEvent, &shapeError) ||
      DefaultVisual(display, DefaultScreen(display))->c_class != TrueColor) {
    XCloseDisplay(display);
    return nullptr;
  }
  return std::make_unique<X11WindowSystem>(display);
}

}  // namespace tavrin

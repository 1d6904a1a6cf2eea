#include "infowindow/recording_window_system.h"

#include <sstream>
#include <utility>

namespace tavrin {

namespace {

// "Name(first, second, ...)" with Booleans as true or false.
template <typename... Args>
std::string Call(const char* name, const Args&... args) {
  std::ostringstream text;
  text << std::boolalpha << name << '(';
  const char* separator = "";
  ((text << std::exchange(separator, ", ") << args), ...);
  text << ')';
  return text.str();
}

}  // namespace

void RecordingWindowSystem::PostMouseDown(Handle window, int button) {
  pending.push_back({window, Kind::MouseDown, button});
}

void RecordingWindowSystem::PostLabelClick(Handle window) {
  pending.push_back({window, Kind::LabelClick, vbLeftButton});
}

std::vector<int> RecordingWindowSystem::Alphas(Handle window) const {
  std::vector<int> alphas;
  std::string prefix = "SetLayeredWindowAttributes(" + std::to_string(window) + ", 0, ";
  for (const std::string& call : calls) {
    if (call.starts_with(prefix)) alphas.push_back(std::stoi(call.substr(prefix.size())));
  }
  return alphas;
}

Handle RecordingWindowSystem::CreateFormWindow(int clientWidth, int clientHeight,
                                               const Picture& face) {
  Handle window = nextWindow++;
  windows[window];
  Record(Call("CreateFormWindow", clientWidth, clientHeight, face.width, face.height));
  return window;
}

void RecordingWindowSystem::CreateLabel(Handle window, const std::string& caption,
                                        PixelRect where) {
  Record(Call("CreateLabel", window, caption, where.left, where.top, where.width, where.height));
}

void RecordingWindowSystem::SetLabelVisible(Handle window, bool visible) {
  windows.at(window).labelVisible = visible;
  Record(Call("SetLabelVisible", window, visible));
}

void RecordingWindowSystem::Show(Handle window, std::unique_ptr<FormEvents> form) {
  windows.at(window).form = std::move(form);
  pending.push_back({window, Kind::Activate, 0});
  Record(Call("Show", window));
}

void RecordingWindowSystem::DestroyWindow(Handle window) {
  windows.erase(window);
  Record(Call("DestroyWindow", window));
}

std::int32_t RecordingWindowSystem::GetWindowLong(Handle window, int index) {
  Record(Call("GetWindowLong", window, index));
  return index == GWL_EXSTYLE ? windows.at(window).extendedStyle : 0;
}

std::int32_t RecordingWindowSystem::SetWindowLong(Handle window, int index, std::int32_t value) {
  Record(Call("SetWindowLong", window, index, value));
  if (index != GWL_EXSTYLE) return 0;
  return std::exchange(windows.at(window).extendedStyle, value);
}

Handle RecordingWindowSystem::CreateRoundRectRgn(int left, int top, int right, int bottom,
                                                 int ellipseWidth, int ellipseHeight) {
  Record(Call("CreateRoundRectRgn", left, top, right, bottom, ellipseWidth, ellipseHeight));
  return nextRegion++;
}

int RecordingWindowSystem::SetWindowRgn(Handle window, Handle region, bool redraw) {
  Record(Call("SetWindowRgn", window, region, redraw));
  return 1;
}

bool RecordingWindowSystem::SetLayeredWindowAttributes(Handle window, std::uint32_t colorKey,
                                                       std::uint8_t alpha, std::uint32_t flags) {
  Record(Call("SetLayeredWindowAttributes", window, colorKey, int{alpha}, flags));
  return true;
}

bool RecordingWindowSystem::ReleaseCapture() {
  Record("ReleaseCapture()");
  return true;
}

std::intptr_t RecordingWindowSystem::SendMessage(Handle window, std::uint32_t message,
                                                 std::intptr_t wParam, std::intptr_t lParam) {
  Record(Call("SendMessage", window, message, wParam, lParam));
  return 0;
}

void RecordingWindowSystem::ProcessPendingEvents() {
  while (!pending.empty()) {
    Event event = pending.front();
    pending.pop_front();
    auto found = windows.find(event.window);
    if (found == windows.end()) continue;
    // Held here so a form that unloads itself lives until its handler returns.
    std::shared_ptr<FormEvents> form = found->second.form;
    if (event.kind == Kind::Activate) form->Activate();
    if (event.kind == Kind::MouseDown) form->MouseDown(event.button);
    if (event.kind == Kind::LabelClick && found->second.labelVisible) form->LabelClick();
  }
}

}  // namespace tavrin

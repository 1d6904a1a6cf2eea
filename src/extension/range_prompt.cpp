#include "extension/range_prompt.h"

#include <chrono>
#include <thread>

#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XToolkitExperimental.hpp>
#include <com/sun/star/awt/XWindowPeer.hpp>

#include "extension/range_picker.h"
#include "extension/uno_dialog.h"

namespace tavrin {

namespace uno = com::sun::star::uno;
namespace awt = com::sun::star::awt;

std::optional<std::string> AskForRange(const uno::Reference<uno::XComponentContext>& context,
                                       const uno::Reference<com::sun::star::frame::XFrame>& frame,
                                       const std::string& prompt, const std::string& title) {
  constexpr int kWidth = 220;
  enum class Answer { Waiting, Given, Cancelled } answer = Answer::Waiting;
  bool picking = false;
  UnoDialog dialog(context, title, kWidth, 74);
  uno::Reference<awt::XWindowPeer> parent(frame->getContainerWindow(), uno::UNO_QUERY);
  dialog.AddLabel("prompt", prompt, {6, 6, kWidth - 12, 24});
  dialog.AddEdit("range", {6, 34, kWidth - 32, 12});
  dialog.AddButton("pick", "…", {kWidth - 24, 34, 18, 12}, [&] {
    picking = true;
    dialog.Hide();
    PickRange(frame, prompt, [&](const std::optional<std::string>& address) {
      if (address) dialog.SetText("range", *address);
      picking = false;
      dialog.Show(parent);
      dialog.Focus("range");
    });
  });
  dialog.AddButton(
      "ok", "确定", {kWidth - 112, 54, 50, 14}, [&] { answer = Answer::Given; }, true);
  dialog.AddButton("cancel", "取消", {kWidth - 56, 54, 50, 14},
                   [&] { answer = Answer::Cancelled; });
  dialog.Show(parent);
  dialog.Focus("range");
  // The box waits as the host's does, with Calc's events going on: the sheet can be scrolled and
  // the range dragged over while the tool waits for its answer.
  uno::Reference<awt::XToolkitExperimental> events(awt::Toolkit::create(context),
                                                   uno::UNO_QUERY_THROW);
  while (answer == Answer::Waiting && (picking || dialog.Visible())) {
    events->processEventsToIdle();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::string address = dialog.Text("range");
  dialog.Hide();
  if (answer != Answer::Given || address.empty()) return std::nullopt;
  return address;
}

}  // namespace tavrin

#include "extension/message_boxes.h"

#include <com/sun/star/awt/MessageBoxButtons.hpp>
#include <com/sun/star/awt/MessageBoxResults.hpp>
#include <com/sun/star/awt/MessageBoxType.hpp>
#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XMessageBox.hpp>
#include <com/sun/star/awt/XToolkit2.hpp>
#include <com/sun/star/awt/XWindowPeer.hpp>

#include "calc/uno_text.h"
#include "host/runtime.h"
#include "session/message_box.h"

namespace tavrin {

namespace uno = com::sun::star::uno;
namespace awt = com::sun::star::awt;

namespace {

sal_Int32 ButtonsOf(const MessageButtons& kind) {
  if (!kind.question) return awt::MessageBoxButtons::BUTTONS_OK;
  bool yesNo = kind.first == vbYes;
  sal_Int32 buttons =
      yesNo ? awt::MessageBoxButtons::BUTTONS_YES_NO : awt::MessageBoxButtons::BUTTONS_OK_CANCEL;
  if (kind.byDefault == kind.second)
    buttons |= yesNo ? awt::MessageBoxButtons::DEFAULT_BUTTON_NO
                     : awt::MessageBoxButtons::DEFAULT_BUTTON_CANCEL;
  return buttons;
}

int AnswerOf(sal_Int16 result) {
  switch (result) {
    case awt::MessageBoxResults::OK:
      return vbOK;
    case awt::MessageBoxResults::YES:
      return vbYes;
    case awt::MessageBoxResults::NO:
      return vbNo;
    default:
      return vbCancel;
  }
}

}  // namespace

CalcRuntime::Shower MessageBoxShower(const uno::Reference<uno::XComponentContext>& context,
                                     const uno::Reference<com::sun::star::frame::XFrame>& frame) {
  return [context, frame](const std::string& prompt, int buttons, const std::string& title) -> int {
    MessageButtons kind(buttons);
    uno::Reference<awt::XToolkit2> toolkit = awt::Toolkit::create(context);
    uno::Reference<awt::XWindowPeer> parent(frame.is() ? frame->getContainerWindow() : nullptr,
                                            uno::UNO_QUERY);
    uno::Reference<awt::XMessageBox> box = toolkit->createMessageBox(
        parent, kind.question ? awt::MessageBoxType_QUERYBOX : awt::MessageBoxType_INFOBOX,
        ButtonsOf(kind), Unicode(title), Unicode(prompt));
    int answer = AnswerOf(box->execute());
    // A box with OK alone has no other answer, whatever closed it; a question closed without
    // an answer (or Calc with no display) is taken as its second button, No or Cancel.
    if (!kind.question) return vbOK;
    return answer == kind.first ? kind.first : kind.second;
  };
}

}  // namespace tavrin

#include "extension/range_picker.h"

#include <cctype>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/sheet/XRangeSelection.hpp>
#include <cppuhelper/implbase1.hxx>

#include "calc/uno_text.h"

namespace tavrin {

namespace uno = com::sun::star::uno;
namespace sheet = com::sun::star::sheet;
namespace beans = com::sun::star::beans;

namespace {

// The cells of an address made absolute, as a reference box writes them: "A1:E29" -> "$A$1:$E$29".
std::string Absolute(const std::string& cells) {
  std::string absolute;
  for (size_t i = 0; i < cells.size(); ++i) {
    bool letter = std::isalpha(static_cast<unsigned char>(cells[i])) != 0;
    bool digit = std::isdigit(static_cast<unsigned char>(cells[i])) != 0;
    bool after = i > 0 && std::isalnum(static_cast<unsigned char>(cells[i - 1])) != 0;
    bool afterLetter = i > 0 && std::isalpha(static_cast<unsigned char>(cells[i - 1])) != 0;
    if ((letter && !after) || (digit && afterLetter)) absolute += '$';
    absolute += cells[i];
  }
  return absolute;
}

// A range as Calc writes it for the user ("$Sheet1.$A$1:$E$121"), in the host's form
// ("Sheet1!$A$1:$E$121"): Calc gives the sheet's name as the host quotes it.
std::string HostAddress(const uno::Reference<com::sun::star::frame::XModel>& document,
                        const rtl::OUString& calcAddress) {
  uno::Reference<com::sun::star::lang::XMultiServiceFactory> factory(document,
                                                                     uno::UNO_QUERY_THROW);
  uno::Reference<beans::XPropertySet> conversion(
      factory->createInstance(Unicode("com.sun.star.table.CellRangeAddressConversion")),
      uno::UNO_QUERY_THROW);
  conversion->setPropertyValue(Unicode("UserInterfaceRepresentation"), uno::Any(calcAddress));
  rtl::OUString address;
  conversion->getPropertyValue(Unicode("XLA1Representation")) >>= address;
  std::string text = Utf8(address);
  size_t cells = text.rfind('!') + 1;
  std::string corners = Absolute(text.substr(cells));
  // One cell picked is one cell's address: "$H$1", not "$H$1:$H$1".
  size_t colon = corners.find(':');
  if (colon != std::string::npos && corners.substr(0, colon) == corners.substr(colon + 1)) {
    corners.resize(colon);
  }
  return text.substr(0, cells) + corners;
}

// Hands the pick on once, then lets go of the view.
class PickListener : public cppu::WeakImplHelper1<sheet::XRangeSelectionListener> {
 public:
  PickListener(uno::Reference<sheet::XRangeSelection> selection,
               uno::Reference<com::sun::star::frame::XModel> document,
               std::function<void(const std::optional<std::string>&)> done)
      : selection_(std::move(selection)), document_(std::move(document)), done_(std::move(done)) {}

  void SAL_CALL done(const sheet::RangeSelectionEvent& event) override {
    std::optional<std::string> address;
    try {
      if (!event.RangeDescriptor.isEmpty()) address = HostAddress(document_, event.RangeDescriptor);
    } catch (const uno::Exception&) {
      address = Utf8(event.RangeDescriptor);
    }
    Finish(address);
  }
  void SAL_CALL aborted(const sheet::RangeSelectionEvent&) override { Finish(std::nullopt); }
  void SAL_CALL disposing(const com::sun::star::lang::EventObject&) override {
    Finish(std::nullopt);
  }

 private:
  void Finish(const std::optional<std::string>& address) {
    if (!done_) return;
    auto done = std::move(done_);
    done_ = nullptr;
    uno::Reference<sheet::XRangeSelectionListener> self(this);
    if (selection_.is()) selection_->removeRangeSelectionListener(self);
    done(address);
  }

  uno::Reference<sheet::XRangeSelection> selection_;
  uno::Reference<com::sun::star::frame::XModel> document_;
  std::function<void(const std::optional<std::string>&)> done_;
};

}  // namespace

void PickRange(const uno::Reference<com::sun::star::frame::XFrame>& frame, const std::string& title,
               std::function<void(const std::optional<std::string>& address)> done) {
  uno::Reference<com::sun::star::frame::XController> controller = frame->getController();
  uno::Reference<sheet::XRangeSelection> selection(controller, uno::UNO_QUERY_THROW);
  uno::Reference<sheet::XRangeSelectionListener> listener(
      new PickListener(selection, controller->getModel(), std::move(done)));
  selection->addRangeSelectionListener(listener);
  uno::Sequence<beans::PropertyValue> arguments(2);
  arguments.getArray()[0].Name = Unicode("Title");
  arguments.getArray()[0].Value <<= Unicode(title);
  arguments.getArray()[1].Name = Unicode("CloseOnMouseRelease");
  arguments.getArray()[1].Value <<= true;
  selection->startRangeSelection(arguments);
}

}  // namespace tavrin

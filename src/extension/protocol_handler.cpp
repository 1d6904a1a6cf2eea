#include <cppuhelper/exc_hlp.hxx>
#include <cppuhelper/implbase4.hxx>
#include <cppuhelper/supportsservice.hxx>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/DispatchResultEvent.hpp>
#include <com/sun/star/frame/DispatchResultState.hpp>
#include <com/sun/star/frame/XDispatchProvider.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/frame/XNotifyingDispatch.hpp>
#include <com/sun/star/lang/XInitialization.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/util/URL.hpp>

#include "extension/protocol_handler.h"

#include "calc/uno_text.h"
#include "extension/calc_session.h"
#include "extension/dispatch_arguments.h"

namespace tavrin {

namespace {

namespace frame = com::sun::star::frame;
namespace beans = com::sun::star::beans;
namespace lang = com::sun::star::lang;

constexpr const char* kImplementation = "org.tavrin.korvel.ProtocolHandler";
constexpr const char* kProtocol = "org.tavrin.korvel:";

class ProtocolHandler
    : public cppu::WeakImplHelper4<lang::XServiceInfo, lang::XInitialization,
                                   frame::XDispatchProvider, frame::XNotifyingDispatch> {
 public:
  explicit ProtocolHandler(uno::Reference<uno::XComponentContext> context)
      : context_(std::move(context)) {}

  rtl::OUString SAL_CALL getImplementationName() override { return Unicode(kImplementation); }
  sal_Bool SAL_CALL supportsService(const rtl::OUString& name) override {
    return cppu::supportsService(this, name);
  }
  uno::Sequence<rtl::OUString> SAL_CALL getSupportedServiceNames() override {
    rtl::OUString name = Unicode("com.sun.star.frame.ProtocolHandler");
    return uno::Sequence<rtl::OUString>(&name, 1);
  }

  // The frame the commands act on comes first.
  void SAL_CALL initialize(const uno::Sequence<uno::Any>& arguments) override {
    if (arguments.hasElements()) arguments[0] >>= frame_;
  }

  uno::Reference<frame::XDispatch> SAL_CALL queryDispatch(const com::sun::star::util::URL& url,
                                                          const rtl::OUString&,
                                                          sal_Int32) override {
    if (url.Protocol == Unicode(kProtocol)) return this;
    return {};
  }
  uno::Sequence<uno::Reference<frame::XDispatch>> SAL_CALL
  queryDispatches(const uno::Sequence<frame::DispatchDescriptor>& descriptors) override {
    uno::Sequence<uno::Reference<frame::XDispatch>> dispatches(descriptors.getLength());
    for (sal_Int32 i = 0; i < descriptors.getLength(); ++i) {
      dispatches.getArray()[i] = queryDispatch(descriptors[i].FeatureURL, descriptors[i].FrameName,
                                               descriptors[i].SearchFlags);
    }
    return dispatches;
  }

  void SAL_CALL dispatch(const com::sun::star::util::URL& url,
                         const uno::Sequence<beans::PropertyValue>& arguments) override {
    Run(url, arguments);
  }
  void SAL_CALL addStatusListener(const uno::Reference<frame::XStatusListener>&,
                                  const com::sun::star::util::URL&) override {}
  void SAL_CALL removeStatusListener(const uno::Reference<frame::XStatusListener>&,
                                     const com::sun::star::util::URL&) override {}

  // The caller gets the boxes the run showed: rows of title, text, buttons and answer.
  void SAL_CALL dispatchWithNotification(
      const com::sun::star::util::URL& url, const uno::Sequence<beans::PropertyValue>& arguments,
      const uno::Reference<frame::XDispatchResultListener>& listener) override {
    frame::DispatchResultEvent event;
    event.Source = static_cast<cppu::OWeakObject*>(this);
    event.State = frame::DispatchResultState::SUCCESS;
    try {
      event.Result <<= MessagesResult(Run(url, arguments));
    } catch (const std::exception& failure) {
      event.State = frame::DispatchResultState::FAILURE;
      event.Result <<= Unicode(failure.what());
    } catch (const uno::Exception& failure) {
      event.State = frame::DispatchResultState::FAILURE;
      // The kind of failure says more than Calc's message, often only where it was thrown.
      event.Result <<= cppu::getCaughtException().getValueTypeName() + ": " + failure.Message;
    }
    if (listener.is()) listener->dispatchFinished(event);
  }

 private:
  std::vector<ShownMessage> Run(const com::sun::star::util::URL& url,
                                const uno::Sequence<beans::PropertyValue>& arguments) {
    RunRequest request = RequestOf(Utf8(url.Path), arguments);
    return CalcSession::Of(context_).Run(frame_, request);
  }

  uno::Reference<uno::XComponentContext> context_;
  uno::Reference<frame::XFrame> frame_;
};

}  // namespace

const char* ProtocolHandlerImplementation() {
  return kImplementation;
}

uno::Reference<uno::XInterface> CreateProtocolHandler(
    const uno::Reference<uno::XComponentContext>& context) {
  return static_cast<cppu::OWeakObject*>(new ProtocolHandler(context));
}

}  // namespace tavrin

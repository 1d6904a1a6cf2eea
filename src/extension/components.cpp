// The extension's UNO components, as the .components file names them: the protocol handler of
// the Tavrin commands, the add-in of the conversion functions, and the job that gives a
// workbook's calls of them the add-in's names when it is opened.
#include <uno/lbnames.h>
#include <cppuhelper/factory.hxx>
#include <cppuhelper/implementationentry.hxx>

#include "calc/uno_text.h"
#include "extension/cell_function_names.h"
#include "extension/conversion_add_in.h"
#include "extension/protocol_handler.h"

namespace tavrin {

namespace {

uno::Reference<uno::XInterface> SAL_CALL
NewHandler(const uno::Reference<uno::XComponentContext>& context) {
  return CreateProtocolHandler(context);
}
rtl::OUString SAL_CALL HandlerName() {
  return Unicode(ProtocolHandlerImplementation());
}
uno::Sequence<rtl::OUString> SAL_CALL HandlerServices() {
  rtl::OUString name = Unicode("com.sun.star.frame.ProtocolHandler");
  return uno::Sequence<rtl::OUString>(&name, 1);
}

uno::Reference<uno::XInterface> SAL_CALL
NewAddIn(const uno::Reference<uno::XComponentContext>& context) {
  return CreateConversionAddIn(context);
}
rtl::OUString SAL_CALL AddInName() {
  return Unicode(ConversionAddInImplementation());
}
uno::Sequence<rtl::OUString> SAL_CALL AddInServices() {
  return ConversionAddInServices();
}

uno::Reference<uno::XInterface> SAL_CALL
NewNamesJob(const uno::Reference<uno::XComponentContext>& context) {
  return CreateCellFunctionNames(context);
}
rtl::OUString SAL_CALL NamesJobName() {
  return Unicode(CellFunctionNamesImplementation());
}
uno::Sequence<rtl::OUString> SAL_CALL NamesJobServices() {
  rtl::OUString name = Unicode(CellFunctionNamesImplementation());
  return uno::Sequence<rtl::OUString>(&name, 1);
}

}  // namespace

const cppu::ImplementationEntry kEntries[] = {
    {NewHandler, HandlerName, HandlerServices, cppu::createSingleComponentFactory, nullptr, 0},
    {NewAddIn, AddInName, AddInServices, cppu::createSingleComponentFactory, nullptr, 0},
    {NewNamesJob, NamesJobName, NamesJobServices, cppu::createSingleComponentFactory, nullptr, 0},
    {nullptr, nullptr, nullptr, nullptr, nullptr, 0}};

}  // namespace tavrin

extern "C" SAL_DLLPUBLIC_EXPORT void* SAL_CALL component_getFactory(const char* name,
                                                                    void* serviceManager,
                                                                    void* registryKey) {
  return cppu::component_getFactoryHelper(name, serviceManager, registryKey, tavrin::kEntries);
}

extern "C" SAL_DLLPUBLIC_EXPORT void SAL_CALL
component_getImplementationEnvironment(const char** environmentTypeName, uno_Environment**) {
  *environmentTypeName = CPPU_CURRENT_LANGUAGE_BINDING_NAME;
}

#include "extension/conversion_add_in.h"

#include <map>

#include <cppuhelper/implbase4.hxx>
#include <cppuhelper/supportsservice.hxx>

#include <com/sun/star/lang/IllegalArgumentException.hpp>
#include <com/sun/star/lang/XServiceInfo.hpp>
#include <com/sun/star/lang/XServiceName.hpp>
#include <com/sun/star/sheet/XAddIn.hpp>
#include <org/tavrin/XConversionFunctions.hpp>

#include "calc/uno_text.h"
#include "component/korvel.h"
#include "extension/calc_runtime.h"
#include "functions/cell_functions.h"

namespace tavrin {

namespace {

namespace lang = com::sun::star::lang;
namespace sheet = com::sun::star::sheet;

constexpr const char* kImplementation = "org.tavrin.korvel.ConversionFunctions";
constexpr const char* kService = kConversionAddInService;

struct FunctionName {
  const char* programmatic;  // the interface's method
  const char* component;     // the component's function
  const char* display;       // what a user types in a cell
  const char* description;
  std::vector<const char*> arguments;
};

const std::vector<FunctionName>& FunctionNames() {
  static const std::vector<FunctionName> names = {
      {"todec",
       "ToDec",
       "TODEC",
       "A number in base 2 to 16 as a decimal number",
       {"number", "base"}},
      {"decto",
       "DecTo",
       "DECTO",
       "A decimal number in base 2 to 16, in groups of digits",
       {"number", "base", "groups"}},
      {"basetobase",
       "BaseToBase",
       "BASETOBASE",
       "A number from one base of 2 to 16 to another",
       {"number", "from base", "to base", "groups"}},
  };
  return names;
}

const FunctionName* Named(const rtl::OUString& name, bool display) {
  for (const FunctionName& function : FunctionNames()) {
    if (name.equalsIgnoreAsciiCaseAscii(display ? function.display : function.programmatic))
      return &function;
  }
  return nullptr;
}

// A cell's argument as the conversion functions take it: nothing when left out.
std::optional<Variant> ArgumentOf(const uno::Any& value) {
  double number = 0;
  rtl::OUString text;
  bool flag = false;
  if (!value.hasValue()) return std::nullopt;
  if (value.getValueTypeClass() == uno::TypeClass_BOOLEAN && (value >>= flag))
    return Variant::Boolean(flag);
  if (value >>= number) return Variant(number);
  if (value >>= text) return Variant(Utf8(text));
  return Variant();
}

class ConversionAddIn
    : public cppu::WeakImplHelper4<org::tavrin::XConversionFunctions, sheet::XAddIn,
                                   lang::XServiceName, lang::XServiceInfo> {
 public:
  ConversionAddIn() : component_(runtime_) {
    for (NamedCellFunction& function : ConversionCellFunctions(component_, runtime_.Locale()))
      functions_[function.name] = std::move(function.call);
  }

  uno::Any SAL_CALL todec(const uno::Any& number, const uno::Any& base) override {
    return Call("ToDec", {ArgumentOf(number), ArgumentOf(base)});
  }
  uno::Any SAL_CALL decto(const uno::Any& number, const uno::Any& base,
                          const uno::Any& groups) override {
    return Call("DecTo", {ArgumentOf(number), ArgumentOf(base), ArgumentOf(groups)});
  }
  uno::Any SAL_CALL basetobase(const uno::Any& number, const uno::Any& fromBase,
                               const uno::Any& toBase, const uno::Any& groups) override {
    return Call("BaseToBase",
                {ArgumentOf(number), ArgumentOf(fromBase), ArgumentOf(toBase), ArgumentOf(groups)});
  }

  rtl::OUString SAL_CALL getProgrammaticFuntionName(const rtl::OUString& display) override {
    const FunctionName* function = Named(display, true);
    return function ? Unicode(function->programmatic) : rtl::OUString();
  }
  rtl::OUString SAL_CALL getDisplayFunctionName(const rtl::OUString& programmatic) override {
    const FunctionName* function = Named(programmatic, false);
    return function ? Unicode(function->display) : rtl::OUString();
  }
  rtl::OUString SAL_CALL getFunctionDescription(const rtl::OUString& programmatic) override {
    const FunctionName* function = Named(programmatic, false);
    return function ? Unicode(function->description) : rtl::OUString();
  }
  rtl::OUString SAL_CALL getDisplayArgumentName(const rtl::OUString& programmatic,
                                                sal_Int32 argument) override {
    const FunctionName* function = Named(programmatic, false);
    if (!function || argument < 0 || argument >= static_cast<sal_Int32>(function->arguments.size()))
      return rtl::OUString();
    return Unicode(function->arguments[static_cast<size_t>(argument)]);
  }
  rtl::OUString SAL_CALL getArgumentDescription(const rtl::OUString& programmatic,
                                                sal_Int32 argument) override {
    return getDisplayArgumentName(programmatic, argument);
  }
  rtl::OUString SAL_CALL getProgrammaticCategoryName(const rtl::OUString&) override {
    return Unicode("Add-In");
  }
  rtl::OUString SAL_CALL getDisplayCategoryName(const rtl::OUString&) override {
    return Unicode("Add-In");
  }
  void SAL_CALL setLocale(const lang::Locale& locale) override { locale_ = locale; }
  lang::Locale SAL_CALL getLocale() override { return locale_; }

  rtl::OUString SAL_CALL getServiceName() override { return Unicode(kService); }
  rtl::OUString SAL_CALL getImplementationName() override { return Unicode(kImplementation); }
  sal_Bool SAL_CALL supportsService(const rtl::OUString& name) override {
    return cppu::supportsService(this, name);
  }
  uno::Sequence<rtl::OUString> SAL_CALL getSupportedServiceNames() override {
    return ConversionAddInServices();
  }

 private:
  // The component's result, a number or the conversion's message; #VALUE! for a call the
  // component cannot take, as the host shows it.
  uno::Any Call(const std::string& name, const CellArguments& arguments) {
    Variant result = functions_.at(name)(arguments);
    if (result.IsError()) throw uno::RuntimeException(Unicode(ErrorText(result.AsError())));
    if (result.IsText()) return uno::Any(Unicode(result.AsText()));
    return uno::Any(result.IsEmpty() ? 0.0 : result.AsNumber());
  }

  CalcRuntime runtime_;
  Korvel component_;
  std::map<std::string, CellFunction> functions_;
  lang::Locale locale_;
};

}  // namespace

const char* ConversionAddInImplementation() {
  return kImplementation;
}

uno::Sequence<rtl::OUString> ConversionAddInServices() {
  rtl::OUString names[] = {Unicode("com.sun.star.sheet.AddIn"), Unicode(kService)};
  return uno::Sequence<rtl::OUString>(names, 2);
}

uno::Reference<uno::XInterface> CreateConversionAddIn(
    const uno::Reference<uno::XComponentContext>&) {
  return static_cast<cppu::OWeakObject*>(new ConversionAddIn());
}

}  // namespace tavrin

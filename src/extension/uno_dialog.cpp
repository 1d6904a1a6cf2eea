#include "extension/uno_dialog.h"

#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XActionListener.hpp>
#include <com/sun/star/awt/XButton.hpp>
#include <com/sun/star/awt/XToolkit2.hpp>
#include <com/sun/star/awt/XWindow2.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <cppuhelper/implbase1.hxx>

#include "calc/uno_text.h"

namespace tavrin {

namespace awt = com::sun::star::awt;
namespace beans = com::sun::star::beans;
namespace lang = com::sun::star::lang;

namespace {

// Calls back when its button is pressed.
class Action : public cppu::WeakImplHelper1<awt::XActionListener> {
 public:
  explicit Action(std::function<void()> onPress) : onPress_(std::move(onPress)) {}
  void SAL_CALL actionPerformed(const awt::ActionEvent&) override {
    if (onPress_) onPress_();
  }
  void SAL_CALL disposing(const lang::EventObject&) override { onPress_ = nullptr; }

 private:
  std::function<void()> onPress_;
};

uno::Reference<beans::XPropertySet> Properties(const uno::Reference<uno::XInterface>& object) {
  return uno::Reference<beans::XPropertySet>(object, uno::UNO_QUERY_THROW);
}

}  // namespace

UnoDialog::UnoDialog(const uno::Reference<uno::XComponentContext>& context,
                     const std::string& title, int width, int height)
    : context_(context) {
  uno::Reference<lang::XMultiComponentFactory> factory = context->getServiceManager();
  uno::Reference<uno::XInterface> model = factory->createInstanceWithContext(
      Unicode("com.sun.star.awt.UnoControlDialogModel"), context);
  uno::Reference<beans::XPropertySet> properties = Properties(model);
  properties->setPropertyValue(Unicode("Title"), uno::Any(Unicode(title)));
  properties->setPropertyValue(Unicode("Width"), uno::Any(sal_Int32(width)));
  properties->setPropertyValue(Unicode("Height"), uno::Any(sal_Int32(height)));
  properties->setPropertyValue(Unicode("Moveable"), uno::Any(true));
  properties->setPropertyValue(Unicode("Closeable"), uno::Any(true));
  models_.set(model, uno::UNO_QUERY_THROW);
  controls_.set(model, uno::UNO_QUERY_THROW);
  dialog_.set(
      factory->createInstanceWithContext(Unicode("com.sun.star.awt.UnoControlDialog"), context),
      uno::UNO_QUERY_THROW);
  dialog_->setModel(uno::Reference<awt::XControlModel>(model, uno::UNO_QUERY_THROW));
}

UnoDialog::~UnoDialog() {
  uno::Reference<lang::XComponent>(dialog_, uno::UNO_QUERY_THROW)->dispose();
}

void UnoDialog::Add(const char* model, const std::string& name, const Place& place,
                    const std::vector<std::pair<const char*, uno::Any>>& properties) {
  uno::Reference<uno::XInterface> control = models_->createInstance(Unicode(model));
  uno::Reference<beans::XPropertySet> set = Properties(control);
  set->setPropertyValue(Unicode("PositionX"), uno::Any(sal_Int32(place.x)));
  set->setPropertyValue(Unicode("PositionY"), uno::Any(sal_Int32(place.y)));
  set->setPropertyValue(Unicode("Width"), uno::Any(sal_Int32(place.width)));
  set->setPropertyValue(Unicode("Height"), uno::Any(sal_Int32(place.height)));
  set->setPropertyValue(Unicode("Step"), uno::Any(sal_Int32(place.page)));
  set->setPropertyValue(Unicode("TabIndex"), uno::Any(sal_Int16(tabIndex_++)));
  for (const auto& [property, value] : properties) set->setPropertyValue(Unicode(property), value);
  controls_->insertByName(Unicode(name), uno::Any(control));
}

void UnoDialog::AddLabel(const std::string& name, const std::string& text, const Place& place) {
  Add("com.sun.star.awt.UnoControlFixedTextModel", name, place,
      {{"Label", uno::Any(Unicode(text))}, {"VerticalAlign", uno::Any(sal_Int32(1))}});
}

void UnoDialog::AddEdit(const std::string& name, const Place& place) {
  Add("com.sun.star.awt.UnoControlEditModel", name, place, {{"Text", uno::Any(Unicode(""))}});
}

void UnoDialog::AddButton(const std::string& name, const std::string& label, const Place& place,
                          std::function<void()> onPress, bool isDefault) {
  Add("com.sun.star.awt.UnoControlButtonModel", name, place,
      {{"Label", uno::Any(Unicode(label))}, {"DefaultButton", uno::Any(isDefault)}});
  actions_[name] = std::move(onPress);
}

void UnoDialog::AddTab(const std::string& name, const std::string& label, const Place& place,
                       std::function<void()> onPress) {
  Add("com.sun.star.awt.UnoControlButtonModel", name, place,
      {{"Label", uno::Any(Unicode(label))}, {"Toggle", uno::Any(true)}});
  actions_[name] = std::move(onPress);
}

void UnoDialog::AddCheckBox(const std::string& name, const std::string& label, const Place& place) {
  Add("com.sun.star.awt.UnoControlCheckBoxModel", name, place,
      {{"Label", uno::Any(Unicode(label))}, {"State", uno::Any(sal_Int16(0))}});
}

void UnoDialog::AddOptionButton(const std::string& name, const std::string& label,
                                const Place& place) {
  Add("com.sun.star.awt.UnoControlRadioButtonModel", name, place,
      {{"Label", uno::Any(Unicode(label))}, {"State", uno::Any(sal_Int16(0))}});
}

void UnoDialog::Show(const uno::Reference<awt::XWindowPeer>& parent) {
  if (!dialog_->getPeer().is()) {
    uno::Reference<awt::XToolkit> toolkit(awt::Toolkit::create(context_), uno::UNO_QUERY_THROW);
    dialog_->createPeer(toolkit, parent);
    uno::Reference<awt::XControlContainer> container(dialog_, uno::UNO_QUERY_THROW);
    for (auto& [name, onPress] : actions_) {
      uno::Reference<awt::XButton> button(container->getControl(Unicode(name)),
                                          uno::UNO_QUERY_THROW);
      button->addActionListener(new Action(onPress));
    }
  }
  uno::Reference<awt::XWindow>(dialog_, uno::UNO_QUERY_THROW)->setVisible(true);
}

void UnoDialog::Hide() {
  uno::Reference<awt::XWindow>(dialog_, uno::UNO_QUERY_THROW)->setVisible(false);
}

bool UnoDialog::Visible() const {
  uno::Reference<awt::XWindow2> window(dialog_->getPeer(), uno::UNO_QUERY);
  return window.is() && window->isVisible();
}

void UnoDialog::Resize(int width, int height) {
  uno::Reference<beans::XPropertySet> properties = Properties(dialog_->getModel());
  properties->setPropertyValue(Unicode("Width"), uno::Any(sal_Int32(width)));
  properties->setPropertyValue(Unicode("Height"), uno::Any(sal_Int32(height)));
}

uno::Reference<beans::XPropertySet> UnoDialog::Model(const std::string& name) const {
  return Properties(controls_->getByName(Unicode(name)).get<uno::Reference<uno::XInterface>>());
}

void UnoDialog::ShowPage(int page) {
  Properties(dialog_->getModel())->setPropertyValue(Unicode("Step"), uno::Any(sal_Int32(page)));
}

void UnoDialog::Focus(const std::string& name) {
  uno::Reference<awt::XWindow> window(Control(name), uno::UNO_QUERY);
  if (window.is()) window->setFocus();
}

uno::Reference<awt::XControl> UnoDialog::Control(const std::string& name) const {
  return uno::Reference<awt::XControlContainer>(dialog_, uno::UNO_QUERY_THROW)
      ->getControl(Unicode(name));
}

std::string UnoDialog::Text(const std::string& name) const {
  rtl::OUString text;
  Model(name)->getPropertyValue(Unicode("Text")) >>= text;
  return Utf8(text);
}

void UnoDialog::SetText(const std::string& name, const std::string& text) {
  Model(name)->setPropertyValue(Unicode("Text"), uno::Any(Unicode(text)));
}

bool UnoDialog::Checked(const std::string& name) const {
  sal_Int16 state = 0;
  Model(name)->getPropertyValue(Unicode("State")) >>= state;
  return state == 1;
}

void UnoDialog::SetChecked(const std::string& name, bool on) {
  Model(name)->setPropertyValue(Unicode("State"), uno::Any(sal_Int16(on ? 1 : 0)));
}

}  // namespace tavrin

#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include <com/sun/star/awt/XControl.hpp>
#include <com/sun/star/awt/XControlContainer.hpp>
#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/beans/XPropertySet.hpp>
#include <com/sun/star/container/XNameContainer.hpp>
#include <com/sun/star/lang/XMultiServiceFactory.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

namespace tavrin {

namespace uno = com::sun::star::uno;

// Where a control sits on a dialog, in the toolkit's dialog units, and on which of the dialog's
// pages (0: on every page).
struct Place {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  int page = 0;
};

// A dialog of Calc's toolkit, built control by control. It is shown without holding up Calc
// (the user may work on the sheet while it is open), and a control's action calls back.
class UnoDialog {
 public:
  UnoDialog(const uno::Reference<uno::XComponentContext>& context, const std::string& title,
            int width, int height);
  ~UnoDialog();
  UnoDialog(const UnoDialog&) = delete;
  UnoDialog& operator=(const UnoDialog&) = delete;

  void AddLabel(const std::string& name, const std::string& text, const Place& place);
  void AddEdit(const std::string& name, const Place& place);
  // A push button; the default button takes Enter.
  void AddButton(const std::string& name, const std::string& label, const Place& place,
                 std::function<void()> onPress, bool isDefault = false);
  // A button that stays pressed while its page is shown (SetChecked).
  void AddTab(const std::string& name, const std::string& label, const Place& place,
              std::function<void()> onPress);
  void AddCheckBox(const std::string& name, const std::string& label, const Place& place);
  // Option buttons one after another form a group; any other control between ends it.
  void AddOptionButton(const std::string& name, const std::string& label, const Place& place);

  // Shows the dialog over the window (the document's), or again after Hide.
  void Show(const uno::Reference<com::sun::star::awt::XWindowPeer>& parent);
  void Hide();
  // Whether the dialog is on the screen: not hidden, nor closed from its title bar.
  bool Visible() const;
  void Resize(int width, int height);
  // The page shown: the controls of page 0 and of this page.
  void ShowPage(int page);
  void Focus(const std::string& name);

  std::string Text(const std::string& name) const;
  void SetText(const std::string& name, const std::string& text);
  bool Checked(const std::string& name) const;
  void SetChecked(const std::string& name, bool on);

 private:
  void Add(const char* model, const std::string& name, const Place& place,
           const std::vector<std::pair<const char*, uno::Any>>& properties);
  uno::Reference<com::sun::star::awt::XControl> Control(const std::string& name) const;
  uno::Reference<com::sun::star::beans::XPropertySet> Model(const std::string& name) const;

  uno::Reference<uno::XComponentContext> context_;
  uno::Reference<com::sun::star::lang::XMultiServiceFactory> models_;
  uno::Reference<com::sun::star::container::XNameContainer> controls_;
  uno::Reference<com::sun::star::awt::XControl> dialog_;
  std::map<std::string, std::function<void()>> actions_;
  int tabIndex_ = 0;
};

}  // namespace tavrin

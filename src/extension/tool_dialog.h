#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <com/sun/star/frame/XFrame.hpp>

#include "extension/uno_dialog.h"
#include "session/dialog_form.h"
#include "tools/tool_table.h"

namespace tavrin {

// The dialog of a menu entry in Calc, made from its tools' descriptions: a tab a tool, each
// control with its label, a reference box with a button that picks the range on the sheet, and
// 确定 and 取消. 确定 runs the tool of the tab shown with what the boxes hold; when the tool
// leaves its form shown (a field it refused), the dialog comes back with the entries kept and
// the refused field focused.
class ToolDialog {
 public:
  using Runner = std::function<void(const ToolDefinition& tool, DialogForm& form)>;

  ToolDialog(const uno::Reference<uno::XComponentContext>& context,
             uno::Reference<com::sun::star::frame::XFrame> frame, const std::string& macro,
             const std::string& title, Runner run);

  void Show();
  void Hide() { dialog_.Hide(); }

 private:
  int Lay(const ToolDefinition& tool, int page, int top);
  void ShowTab(int page);
  // The control a tab's keyboard focus starts on.
  std::string FirstField() const;
  void Pick(const std::string& box, const std::string& label);
  void Run();
  void FillForm(const ToolDefinition& tool, int page, DialogForm& form) const;

  uno::Reference<com::sun::star::frame::XFrame> frame_;
  std::vector<const ToolDefinition*> tools_;
  Runner run_;
  UnoDialog dialog_;
  int page_ = 1;
};

}  // namespace tavrin

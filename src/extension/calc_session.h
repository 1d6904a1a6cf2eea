#pragma once

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include "calc/calc_application.h"
#include "component/korvel.h"
#include "extension/calc_runtime.h"
#include "extension/tool_dialog.h"
#include "extension/window_pump.h"
#include "host/variant.h"

namespace tavrin {

namespace uno = com::sun::star::uno;

// What a caller asks of a run: a command (a tool's method, "MyHelp", "MyInfo", "BbbThing",
// "QuitTools"), the dialog's controls, the answers to its questions and to its range prompt
// ("" cancels), and how boxes beyond the answers are answered. A run from a dialog on screen
// brings the dialog's form, and its range prompts are asked on screen too.
struct RunRequest {
  std::string command;
  std::map<std::string, Variant> controls;
  std::deque<std::string> answers;
  std::deque<std::string> inputs;
  CalcRuntime::Beyond beyond = CalcRuntime::Beyond::Show;
  DialogForm* form = nullptr;
};

// Korvel in one Calc process. At its first run it opens the host workbook (a hidden document,
// "Tavrin.xls", whose sheet "bf" holds the token), creates the component and calls CSH; every
// run after that goes to the same component, on the document of the frame it was asked from.
class CalcSession {
 public:
  static CalcSession& Of(const uno::Reference<uno::XComponentContext>& context);

  // Runs the command on the frame's spreadsheet document and gives the boxes it showed.
  std::vector<ShownMessage> Run(const uno::Reference<com::sun::star::frame::XFrame>& frame,
                                const RunRequest& request);

 private:
  explicit CalcSession(uno::Reference<uno::XComponentContext> context);
  void Start();
  void Stop();
  void RunTool(const uno::Reference<com::sun::star::frame::XFrame>& frame,
               const RunRequest& request);
  void OpenDialog(const uno::Reference<com::sun::star::frame::XFrame>& frame,
                  const std::string& macro);
  void ShowHelp();
  void ShowInfo();

  uno::Reference<uno::XComponentContext> context_;
  std::unique_ptr<CalcApplication> app_;
  std::unique_ptr<CalcRuntime> runtime_;
  std::unique_ptr<Korvel> component_;
  CalcBook* hostBook_ = nullptr;
  std::unique_ptr<ToolDialog> dialog_;
  WindowPump pump_;
};

}  // namespace tavrin

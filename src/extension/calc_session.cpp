#include "extension/calc_session.h"

#include <com/sun/star/awt/Toolkit.hpp>
#include <com/sun/star/awt/XToolkitExperimental.hpp>
#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/container/XNamed.hpp>
#include <com/sun/star/frame/Desktop.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include "calc/uno_text.h"
#include "extension/message_boxes.h"
#include "extension/range_prompt.h"
#include "extension/undo_step.h"
#include "host/host_error.h"
#include "host/variant_rules.h"
#include "host/worksheet.h"
#include "menu/command_table.h"
#include "session/dialog_form.h"
#include "tools/tool_table.h"
#include "x11/x11_window_system.h"

namespace tavrin {

namespace frame = com::sun::star::frame;

namespace {

constexpr const char* kHostWorkbookName = "Tavrin.xls";

const Command* MenuEntry(const std::string& macro) {
  for (const Command& command : kToolCommands) {
    if (macro == command.macro) return &command;
  }
  return nullptr;
}

uno::Reference<sheet::XSpreadsheetDocument> NewHiddenDocument(
    const uno::Reference<uno::XComponentContext>& context) {
  uno::Sequence<com::sun::star::beans::PropertyValue> arguments(1);
  arguments.getArray()[0].Name = Unicode("Hidden");
  arguments.getArray()[0].Value <<= true;
  uno::Reference<frame::XDesktop2> desktop = frame::Desktop::create(context);
  return uno::Reference<sheet::XSpreadsheetDocument>(
      desktop->loadComponentFromURL(Unicode("private:factory/scalc"), Unicode("_blank"), 0,
                                    arguments),
      uno::UNO_QUERY_THROW);
}

}  // namespace

CalcSession& CalcSession::Of(const uno::Reference<uno::XComponentContext>& context) {
  // Never destroyed: at exit Calc has torn UNO down before a static would let go of its
  // references, and releasing them then would crash the closing office.
  static CalcSession* session = new CalcSession(context);
  return *session;
}

CalcSession::CalcSession(uno::Reference<uno::XComponentContext> context)
    : context_(std::move(context)) {}

// The host workbook and the component, as the host workbook's opening does it.
void CalcSession::Start() {
  app_ = std::make_unique<CalcApplication>(context_);
  runtime_ = std::make_unique<CalcRuntime>();
  runtime_->SetRunningApplication(*app_);
  // The information window is an X11 window where Calc runs on an X display.
  runtime_->SetWindowSystemOpener([] { return OpenX11WindowSystem(); });
  uno::Reference<com::sun::star::awt::XToolkitExperimental> toolkit(
      com::sun::star::awt::Toolkit::create(context_), uno::UNO_QUERY_THROW);
  runtime_->SetCalcEvents([toolkit] { toolkit->processEventsToIdle(); });
  uno::Reference<sheet::XSpreadsheetDocument> document = NewHiddenDocument(context_);
  hostBook_ = &app_->BookOf(document, kHostWorkbookName);
  uno::Reference<com::sun::star::container::XNamed>(
      static_cast<CalcSheet&>(hostBook_->Item(1)).UnoSheet(), uno::UNO_QUERY_THROW)
      ->setName(Unicode("bf"));
  app_->SetThisWorkbook(*hostBook_);
  app_->SetActive(*hostBook_);
  component_ = std::make_unique<Korvel>(*runtime_);
  component_->SetXlBook(*hostBook_);
  runtime_->StartRun({}, CalcRuntime::Beyond::Default, nullptr);
  component_->CSH();
  // The host switches screen updating back on when a macro ends.
  app_->SetScreenUpdating(true);
}

void CalcSession::Stop() {
  pump_.Stop();
  component_.reset();
  if (hostBook_ != nullptr) {
    uno::Reference<com::sun::star::util::XCloseable> closeable(hostBook_->Document().Document(),
                                                               uno::UNO_QUERY);
    if (closeable.is()) closeable->close(true);
  }
  hostBook_ = nullptr;
  runtime_.reset();
  app_.reset();
}

std::vector<ShownMessage> CalcSession::Run(const uno::Reference<frame::XFrame>& frame,
                                           const RunRequest& request) {
  if (request.command == "QuitTools") {
    Stop();
    return {};
  }
  if (!component_ || request.command == "BbbThing") {
    Stop();
    Start();
  }
  uno::Reference<sheet::XSpreadsheetDocument> document(
      frame.is() ? frame->getController()->getModel() : nullptr, uno::UNO_QUERY);
  runtime_->StartRun(request.answers, request.beyond, MessageBoxShower(context_, frame));
  std::deque<std::string> inputs = request.inputs;
  CalcRuntime& runtime = *runtime_;
  bool onScreen = request.form != nullptr && inputs.empty();
  app_->SetInputAnswerer([this, frame, onScreen, inputs, &runtime](
                             const std::string& prompt, const std::string& title) mutable {
    std::optional<std::string> answer;
    if (onScreen) {
      answer = AskForRange(context_, frame, prompt, title);
    } else if (!inputs.empty()) {
      if (!inputs.front().empty()) answer = inputs.front();
      inputs.pop_front();
    }
    runtime.NoteInput(prompt, title, answer);
    return answer;
  });
  if (document.is()) {
    CalcBook& book = app_->BookOf(document);
    app_->SetActive(book);
  }
  std::optional<UndoStep> step;
  if (document.is()) step.emplace(document, "Tavrin " + request.command);
  try {
    if (request.command == "MyHelp")
      ShowHelp();
    else if (request.command == "MyInfo")
      ShowInfo();
    else if (request.command != "BbbThing")
      RunTool(frame, request);
  } catch (const HostError& error) {
    // A failure no report of the tool caught reaches the caller, which shows it as the page does.
    runtime_->MsgBox(std::to_string(error.Number()) + " " + error.Description(), vbOKOnly,
                     Korvel::kLibraryTitle);
  }
  app_->SetScreenUpdating(true);
  step.reset();
  return runtime_->Shown();
}

void CalcSession::RunTool(const uno::Reference<frame::XFrame>& frame, const RunRequest& request) {
  const ToolDefinition* tool = FindTool(request.command);
  if (tool == nullptr && MenuEntry(request.command) != nullptr && frame.is()) {
    OpenDialog(frame, request.command);
    return;
  }
  if (tool == nullptr) throw HostError::NotSupported();
  DialogForm given;
  DialogForm& form = request.form != nullptr ? *request.form : given;
  for (const auto& [name, value] : request.controls) {
    if (!form.Has(name)) throw HostError::NotSupported();
    form.Set(name, value);
  }
  std::string token = TextOf(hostBook_->Item("bf").Cells(1, 1).Value(), runtime_->Locale());
  (component_.get()->*(tool->run))(token, form);
}

// A menu entry's dialog stays open beside the sheet; 确定 runs its tool as a command would.
void CalcSession::OpenDialog(const uno::Reference<frame::XFrame>& frame, const std::string& macro) {
  if (dialog_) dialog_->Hide();
  dialog_ =
      std::make_unique<ToolDialog>(context_, frame, macro, MenuEntry(macro)->caption,
                                   [this, frame](const ToolDefinition& tool, DialogForm& form) {
                                     RunRequest request;
                                     request.command = tool.method;
                                     request.form = &form;
                                     Run(frame, request);
                                   });
  dialog_->Show();
}

// The window lives on after the command, its events handed over by Calc's event loop.
void CalcSession::ShowInfo() {
  component_->ShowInfo();
  pump_.Keep(context_, runtime_->WindowSystem());
}

void CalcSession::ShowHelp() {
  std::string text;
  for (const ToolDefinition& tool : ToolTable())
    text += tool.caption + " (" + tool.method + "): " + tool.description + "\n";
  runtime_->MsgBox(text, vbOKOnly, Korvel::kLibraryTitle);
}

}  // namespace tavrin

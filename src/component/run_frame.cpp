#include "component/run_frame.h"

#include <cctype>

#include "host/host_error.h"
#include "host/variant_rules.h"
#include "host/workbook.h"
#include "host/worksheet_function.h"

namespace tavrin {

Application& RunFrame::App() {
  return app != nullptr ? *app : korvel.App();
}

bool RunFrame::TokenMatches(const std::string& WD) {
  if (WD == korvel.initToken) return true;
  Message("类初始化序号不对：你在打开本文件时可能未启用宏。");
  return false;
}

bool RunFrame::TargetWorkbookActive() {
  if (App().ActiveWorkbook().Name() != App().ThisWorkbook().Name()) return true;
  Message("请先切换到目标工作簿！");
  return false;
}

bool RunFrame::FieldsFilled(const std::vector<std::string>& fieldNames) {
  for (const std::string& name : fieldNames) {
    Control& field = form.Controls(name);
    Variant value = field.Value();
    if (value.IsEmpty() || (value.IsText() && value.AsText().empty())) {
      Message("请选定区域", 0, Korvel::kLibraryTitle);
      field.SetFocus();
      return false;
    }
  }
  return true;
}

std::string RunFrame::FieldText(const std::string& name) {
  return TextOf(form.Controls(name).Value(), korvel.runtime.Locale());
}

bool RunFrame::FieldChecked(const std::string& name) {
  Variant value = form.Controls(name).Value();
  if (value.IsBoolean()) return value.AsBoolean();
  if (value.IsText()) {
    std::string word = value.AsText();
    for (char& c : word) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (word == "true" || word == "false") return word == "true";
  }
  return NumberOf(value, korvel.runtime.Locale()) != 0;
}

Range RunFrame::FieldRange(const std::string& name) {
  return App().Evaluate(FieldText(name)).AsRange();
}

void RunFrame::EventsOff() {
  App().SetEnableEvents(false);
}

void RunFrame::KeepEventsAndOff() {
  keptEvents = App().EnableEvents();
  App().SetEnableEvents(false);
}

void RunFrame::HideForm() {
  form.Hide();
}

bool RunFrame::MayOverwrite(const Range& target, ShowTarget show,
                            const std::function<std::string(double count)>& question, int buttons,
                            const std::string& title) {
  double count = App().WorksheetFunction().CountA(target);
  if (count <= 0) return true;
  if (show == ShowTarget::Select) target.Select();
  if (show == ShowTarget::Activate) target.Activate();
  if (Message(question(count), buttons, title) != vbNo) return true;
  EventsBack();
  return false;
}

void RunFrame::EventsBack() {
  App().SetEnableEvents(keptEvents.value_or(true));
}

void RunFrame::UnloadForm() {
  form.Unload();
}

void RunFrame::WithFailureReport(const std::function<void()>& work, bool reshowForm) {
  std::string description;
  try {
    work();
    return;
  } catch (const HostError& error) {
    description = error.Description();
  }
  FailureReport(description, reshowForm);
}

void RunFrame::PassingFailuresOn(const std::function<void()>& work) {
  try {
    work();
  } catch (const HostError&) {
    EventsBack();
    throw;
  }
}

void RunFrame::FailureReport(const std::string& description, bool reshowForm) {
  Message(FailureText(description), 0, "未知错误");
  CalledOff(reshowForm);
}

void RunFrame::CalledOff(bool reshowForm) {
  EventsBack();
  App().SetScreenUpdating(true);
  if (reshowForm) form.Show();
}

int RunFrame::Message(const std::string& text, int buttons, const std::string& title) {
  return korvel.runtime.MsgBox(text, buttons, title);
}

std::string RunFrame::FailureText(const std::string& description) {
  return "错误内容：\n\n\t" + description + "\n\n程序已经终止，输出结果可能不正确！";
}

}  // namespace tavrin

#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "component/korvel.h"
#include "host/application.h"
#include "host/form.h"
#include "host/range.h"

namespace tavrin {

// How a tool points the user at an occupied target before asking about it: by selecting it, by
// activating it, or not at all when the tool has shown it already.
enum class ShowTarget { AsShown, Select, Activate };

// The frame every tool runs in. A tool takes the steps it needs, in its own order:
//   F0/F8 WithFailureReport    F1 TokenMatches     F2 TargetWorkbookActive
//   F3 FieldsFilled            F4 EventsOff / KeepEventsAndOff
//   F5 HideForm                F7 EventsBack, UnloadForm, Finished
// and, in the tool's own work, MayOverwrite before writing over an occupied target.
// Messages of the frame are shown through the runtime, with the frame's exact texts.
class RunFrame {
 public:
  // A new run: the component forgets that the last one finished.
  RunFrame(Korvel& component, Form& toolForm) : korvel(component), form(toolForm) {
    korvel.runFinished = false;
  }

  // The host application the run talks to: the component's xlApp, unless the tool looked the
  // running host up afresh (UseApplication).
  Application& App();
  void UseApplication(Application& application) { app = &application; }

  // F1: the token matches initToken exactly; otherwise the message, and false.
  bool TokenMatches(const std::string& WD);
  // F2: the active workbook is not the host workbook; otherwise the message, and false.
  bool TargetWorkbookActive();
  // F3: every named field's Value is non-empty; the first empty one gets the message and the
  // focus, and the result is false. A tool names the fields its description requires.
  bool FieldsFilled(const std::vector<std::string>& fieldNames);
  // A field's text, and the range the host makes of it with Evaluate (a text that is no
  // reference fails with the runtime's object-required error).
  std::string FieldText(const std::string& name);
  // Whether a check box or option button is on: its Value as the runtime reads a condition
  // (a Boolean, "True" or "False" in any case, or a number other than 0; another text
  // fails).
  bool FieldChecked(const std::string& name);
  Range FieldRange(const std::string& name);

  // F4: events off.
  void EventsOff();
  // F4 for tools that restore what they found: keeps the setting, then events off.
  void KeepEventsAndOff();
  // F5.
  void HideForm();

  // Ask before overwriting an occupied target: when the target holds anything (its CountA is
  // above 0), it is shown as `show` says and the tool's question asked, its text made from that
  // count, with the tool's buttons and title. No switches events back (EventsBack) and gives
  // false, and the tool ends there; any other answer, or an empty target, gives true.
  bool MayOverwrite(const Range& target, ShowTarget show,
                    const std::function<std::string(double count)>& question, int buttons,
                    const std::string& title = Korvel::kTitle);
  // F7's events: back on, or back to the kept setting.
  void EventsBack();
  void UnloadForm();
  // The end of F7: the run went through its own work to its normal close. A run that a check,
  // a declined question or a failure stopped never gets here (Korvel::RunFinished).
  void Finished() { korvel.runFinished = true; }

  // F0 and F8: runs the work; a failure in it ends in the failure report. With reshowForm the
  // report shows the form again (the tools that hid it to ask for a range).
  void WithFailureReport(const std::function<void()>& work, bool reshowForm = false);
  // F8 from step 2 on, for a description already in hand (empty for "no error pending").
  void FailureReport(const std::string& description, bool reshowForm);
  // F8 without its message, for a run the user called off: events back, screen updating on,
  // the form shown again when asked.
  void CalledOff(bool reshowForm);

  // For the tools without a failure report: runs the work; a failure in it switches events
  // back on (the form left as the failure left it) and goes on to the caller.
  void PassingFailuresOn(const std::function<void()>& work);

  // A message box of the toolbox: title "Lumo提示" unless given.
  int Message(const std::string& text, int buttons = 0, const std::string& title = Korvel::kTitle);

  // The failure report's text for a description.
  static std::string FailureText(const std::string& description);

 private:
  Korvel& korvel;
  Form& form;
  Application* app = nullptr;
  std::optional<bool> keptEvents;
};

}  // namespace tavrin

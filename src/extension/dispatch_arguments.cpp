#include "extension/dispatch_arguments.h"

#include "calc/uno_text.h"
#include "session/message_box.h"

namespace tavrin {

namespace {

// A list of texts, as a sequence of strings or (from scripting languages) of anys.
std::deque<std::string> Texts(const uno::Any& value) {
  std::deque<std::string> list;
  uno::Sequence<rtl::OUString> texts;
  uno::Sequence<uno::Any> anys;
  if (value >>= texts) {
    for (const rtl::OUString& text : texts) list.push_back(Utf8(text));
  } else if (value >>= anys) {
    for (const uno::Any& any : anys) {
      rtl::OUString text;
      any >>= text;
      list.push_back(Utf8(text));
    }
  }
  return list;
}

Variant ControlValue(const uno::Any& value) {
  bool flag = false;
  double number = 0;
  rtl::OUString text;
  if (value.getValueTypeClass() == uno::TypeClass_BOOLEAN && (value >>= flag))
    return Variant::Boolean(flag);
  if (value >>= number) return Variant(number);
  if (value >>= text) return Variant(Utf8(text));
  return Variant();
}

// Interactive false answers by the default button; AnswerAll "Yes" or "No" by the first or
// second button.
CalcRuntime::Beyond BeyondOf(const uno::Any& value) {
  bool interactive = true;
  if (value >>= interactive)
    return interactive ? CalcRuntime::Beyond::Show : CalcRuntime::Beyond::Default;
  rtl::OUString answer;
  value >>= answer;
  if (answer == "Yes") return CalcRuntime::Beyond::First;
  if (answer == "No") return CalcRuntime::Beyond::Second;
  return CalcRuntime::Beyond::Default;
}

}  // namespace

RunRequest RequestOf(const std::string& command,
                     const uno::Sequence<com::sun::star::beans::PropertyValue>& arguments) {
  RunRequest request;
  request.command = command;
  for (const com::sun::star::beans::PropertyValue& argument : arguments) {
    std::string name = Utf8(argument.Name);
    if (name == "Answers")
      request.answers = Texts(argument.Value);
    else if (name == "Inputs")
      request.inputs = Texts(argument.Value);
    else if (name == "Interactive" || name == "AnswerAll")
      request.beyond = BeyondOf(argument.Value);
    else if (name != "Referer" && name != "SynchronMode")
      request.controls[name] = ControlValue(argument.Value);
  }
  return request;
}

uno::Sequence<uno::Sequence<rtl::OUString>> MessagesResult(
    const std::vector<ShownMessage>& messages) {
  uno::Sequence<uno::Sequence<rtl::OUString>> rows(static_cast<sal_Int32>(messages.size()));
  for (size_t i = 0; i < messages.size(); ++i) {
    const ShownMessage& message = messages[i];
    rtl::OUString row[] = {
        Unicode(message.title), Unicode(message.prompt),
        message.input ? Unicode("input") : rtl::OUString::number(message.buttons),
        Unicode(message.input ? *message.input : AnswerName(message.answer))};
    rows.getArray()[i] = uno::Sequence<rtl::OUString>(row, 4);
  }
  return rows;
}

}  // namespace tavrin

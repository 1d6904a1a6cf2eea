#pragma once

#include <string>
#include <vector>

#include <com/sun/star/beans/PropertyValue.hpp>

#include "extension/calc_session.h"

namespace tavrin {

// A run asked for by a dispatch: each argument named for a control of the dialog ("RefEdit1",
// "CheckBox1") sets it, from a text, a number or a Boolean; "Answers" and "Inputs" are
// lists of texts; "Interactive" false answers every box beyond the answers by its default
// button, "AnswerAll" "Yes" or "No" by its first or second (as --yes and --no do).
RunRequest RequestOf(const std::string& command,
                     const uno::Sequence<com::sun::star::beans::PropertyValue>& arguments);

// The boxes a run showed as rows of texts: title, text, buttons (a number) and the answer's
// name ("OK", "Cancel", "Yes", "No"); an input box has "input" for buttons and the text typed
// ("" when cancelled).
uno::Sequence<uno::Sequence<rtl::OUString>> MessagesResult(
    const std::vector<ShownMessage>& messages);

}  // namespace tavrin

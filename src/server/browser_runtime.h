#pragma once

#include "server/run_channel.h"
#include "session/machine_runtime.h"

namespace tavrin {

// The runtime of the server: a message box is a question to the page, and the run waits for
// its answer. There is no window system: the page draws the information window itself.
class BrowserRuntime : public MachineRuntime {
 public:
  explicit BrowserRuntime(RunChannel& runChannel) : channel(runChannel) {}

 protected:
  int Show(const std::string& prompt, int buttons, const std::string& title) override {
    return channel.AskMessage(prompt, buttons, title);
  }

 private:
  RunChannel& channel;
};

}  // namespace tavrin

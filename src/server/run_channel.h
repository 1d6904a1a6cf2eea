#pragma once

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace tavrin {

// Where a run stands, as the page hears it.
enum class RunState { Idle, Running, Asking, Finished, Stopped, Failed, Cancelled };

// Thrown between two operations of a run the page cancelled; the run's workbook is then put
// back as the run found it.
struct RunCancelled : std::exception {
  const char* what() const noexcept override { return "cancelled"; }
};

// What a run shows and asks the page, and the answers that come back. The run's thread asks
// and waits; the requests answer. One mutex guards this and everything the run works on (the
// run's thread holds it while it works and lets go while it waits for an answer); a condition
// wakes whoever waits for the state to move on.
class RunChannel {
 public:
  std::mutex& Mutex() { return mutex; }

  // The run's thread: the lock it holds while it works, released while it waits for answers.
  void SetRunnerLock(std::unique_lock<std::mutex>* lock) { runnerLock = lock; }

  // A run begins: no boxes shown yet, nothing asked.
  void Begin();
  // No run to tell of (another workbook was opened).
  void Forget();
  // Shows a message box and waits for its answer (vbOK, vbCancel, vbYes, vbNo). Once the
  // channel is closed every box gets its default button at once.
  int AskMessage(const std::string& prompt, int buttons, const std::string& title);
  // Asks for a range and waits: the address typed, or nothing when cancelled (and once closed).
  std::optional<std::string> AskRange(const std::string& prompt, const std::string& title);
  // The run's thread, between two operations on the workbook: once it has worked for a while
  // without a pause, it lets go of the lock for a moment, so the page's requests to read the
  // workbook are answered during a long run (those that would change it are refused while a
  // run is going).
  // A cancelled run stops here (RunCancelled). A step pause set for the tests slows every step
  // down, the lock let go meanwhile, so a short run can be watched and cancelled.
  void Breathe();
  // The page's Cancel: the run going stops at its next step. Fails (409) when no run is
  // working.
  void Cancel();
  void SetStepPause(std::chrono::milliseconds pause) { stepPause = pause; }
  // The run is over: finished, stopped before finishing or failed (with what reached the
  // caller, if anything).
  void End(RunState state, std::string error = {});

  // Whether a run is going (running or asking).
  bool Going() const { return state == RunState::Running || state == RunState::Asking; }
  // Takes the page's answer ({"id":3,"answer":"Yes"} or {"id":4,"range":"A1:B5"}); fails
  // (ApiError) when no question of that id is open, or the answer is not one of its buttons.
  void Answer(const nlohmann::json& answer);
  // While a run is working (not asking), waits up to the time given for it to move on.
  void WaitWhileRunning(std::unique_lock<std::mutex>& lock, std::chrono::milliseconds most);
  // No one will answer any more (the server stops): every question gets its default at once.
  void Close();

  // {"state":..., "seconds":..., "question":..., "messages":[...], "error":...}; seconds: how
  // long the run going has taken so far, in whole seconds.
  void Describe(nlohmann::json& out) const;

 private:
  struct Reply {
    std::string answer;
    std::optional<std::string> range;
  };
  // Opens a question, waits for its reply; nothing when the channel is closed.
  std::optional<Reply> Wait();
  void Moved();

  std::mutex mutex;
  std::condition_variable moved;
  std::unique_lock<std::mutex>* runnerLock = nullptr;
  std::chrono::steady_clock::time_point started, lastPause;
  RunState state = RunState::Idle;
  int lastId = 0;
  struct Question {
    int id = 0;
    bool range = false;  // an input box asking for a range; else a message box
    std::string title;
    std::string text;
    int buttons = 0;
  };
  std::optional<Question> question;  // while asking, and only then
  std::optional<Reply> reply;
  std::vector<std::pair<std::string, std::string>> messages;  // title, text
  std::string error;
  bool closed = false;
  bool cancelling = false;
  std::chrono::milliseconds stepPause{0};
};

}  // namespace tavrin

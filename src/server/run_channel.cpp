#include "server/run_channel.h"

#include <thread>

#include <nlohmann/json.hpp>

#include "host/runtime.h"
#include "server/api_error.h"
#include "session/message_box.h"

namespace tavrin {

namespace {

const char* StateName(RunState state) {
  switch (state) {
    case RunState::Idle:
      return "idle";
    case RunState::Running:
      return "running";
    case RunState::Asking:
      return "asking";
    case RunState::Finished:
      return "finished";
    case RunState::Stopped:
      return "stopped";
    case RunState::Cancelled:
      return "cancelled";
    default:
      return "failed";
  }
}

const char* ButtonsName(int buttons) {
  switch (buttons & 0xF) {
    case vbOKCancel:
      return "OKCancel";
    case vbYesNo:
      return "YesNo";
    default:
      return "OK";
  }
}

}  // namespace

void RunChannel::Begin() {
  state = RunState::Running;
  started = lastPause = std::chrono::steady_clock::now();
  question.reset();
  reply.reset();
  messages.clear();
  error.clear();
  cancelling = false;
  Moved();
}

void RunChannel::Forget() {
  Begin();
  state = RunState::Idle;
}

void RunChannel::Moved() {
  moved.notify_all();
}

std::optional<RunChannel::Reply> RunChannel::Wait() {
  // A box outside a run (none is expected) or after the channel closed takes its default.
  if (closed || runnerLock == nullptr) {
    question.reset();
    return std::nullopt;
  }
  state = RunState::Asking;
  reply.reset();
  Moved();
  moved.wait(*runnerLock, [this] { return reply.has_value() || closed; });
  question.reset();
  state = RunState::Running;
  std::optional<Reply> given = std::move(reply);
  reply.reset();
  return given;
}

int RunChannel::AskMessage(const std::string& prompt, int buttons, const std::string& title) {
  messages.emplace_back(title, prompt);
  question = Question{++lastId, false, title, prompt, buttons};
  MessageButtons box(buttons);
  std::optional<Reply> given = Wait();
  if (!given) return box.byDefault;
  return AnswerNamed(box, given->answer).value_or(box.byDefault);
}

std::optional<std::string> RunChannel::AskRange(const std::string& prompt,
                                                const std::string& title) {
  question = Question{++lastId, true, title, prompt, 0};
  std::optional<Reply> given = Wait();
  if (!given) return std::nullopt;
  return given->range;
}

void RunChannel::Breathe() {
  using namespace std::chrono_literals;
  if (runnerLock == nullptr || !runnerLock->owns_lock()) return;
  if (cancelling) throw RunCancelled();
  auto now = std::chrono::steady_clock::now();
  if (now - lastPause < 50ms && stepPause == 0ms) return;
  // Long enough for the requests waiting for the lock to take it in turn.
  runnerLock->unlock();
  std::this_thread::sleep_for(std::max<std::chrono::milliseconds>(2ms, stepPause));
  runnerLock->lock();
  lastPause = std::chrono::steady_clock::now();
  if (cancelling) throw RunCancelled();
}

void RunChannel::Cancel() {
  if (state != RunState::Running) throw ApiError{409, "没有正在进行的运行可以取消。"};
  cancelling = true;
}

void RunChannel::End(RunState ended, std::string reached) {
  state = ended;
  error = std::move(reached);
  Moved();
}

void RunChannel::Answer(const nlohmann::json& answer) {
  if (!answer.is_object() || !answer.value("id", nlohmann::json()).is_number_integer()) {
    throw ApiError{400, "回答缺少提示的编号（id）。"};
  }
  if (!question || state != RunState::Asking || answer["id"].get<long long>() != question->id) {
    throw ApiError{409, "没有等待这个回答的提示。"};
  }
  Reply given;
  if (answer.contains("answer") && answer["answer"].is_string()) {
    given.answer = answer["answer"].get<std::string>();
  }
  if (question->range) {
    if (answer.contains("range") && answer["range"].is_string()) {
      given.range = answer["range"].get<std::string>();
    } else if (given.answer != "Cancel") {
      throw ApiError{400, "请给出区域（range），或回答 Cancel。"};
    }
  } else if (!AnswerNamed(MessageButtons(question->buttons), given.answer)) {
    throw ApiError{400, "这个提示没有“" + given.answer + "”按钮。"};
  }
  reply = std::move(given);
  // The run goes on from here, whether or not its thread has woken yet.
  question.reset();
  state = RunState::Running;
  Moved();
}

void RunChannel::WaitWhileRunning(std::unique_lock<std::mutex>& lock,
                                  std::chrono::milliseconds most) {
  moved.wait_for(lock, most, [this] { return state != RunState::Running; });
}

void RunChannel::Close() {
  closed = true;
  Moved();
}

void RunChannel::Describe(nlohmann::json& out) const {
  out["state"] = StateName(state);
  if (Going()) {
    out["seconds"] =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started)
            .count();
  }
  if (question) {  // only while asking
    nlohmann::json& asked = out["question"];
    asked["id"] = question->id;
    asked["title"] = question->title;
    if (question->range) {
      asked["kind"] = "range";
      asked["prompt"] = question->text;
      asked["default"] = "";
    } else {
      asked["kind"] = "message";
      asked["text"] = question->text;
      asked["buttons"] = ButtonsName(question->buttons);
      asked["default"] = AnswerName(MessageButtons(question->buttons).byDefault);
    }
  }
  nlohmann::json& shown = out["messages"] = nlohmann::json::array();
  for (const auto& [title, text] : messages) shown.push_back({{"title", title}, {"text", text}});
  if (!error.empty()) out["error"] = error;
}

}  // namespace tavrin

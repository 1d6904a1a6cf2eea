#include "server/run_channel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "host/runtime.h"
#include "server/api_error.h"
#include "session/message_box.h"

namespace tavrin {
namespace {

using namespace std::chrono_literals;

// A run that works without asking anything, pausing between its operations as the spreadsheet
// does, until the test has read or five seconds have gone.
class WorkingRun {
 public:
  WorkingRun(RunChannel& channel, std::atomic<bool>& readWhileRunning)
      : runner([this, &channel, &readWhileRunning] {
          std::unique_lock<std::mutex> lock(channel.Mutex());
          channel.SetRunnerLock(&lock);
          channel.Begin();
          started = true;
          auto end = std::chrono::steady_clock::now() + 5s;
          while (!read && std::chrono::steady_clock::now() < end) {
            std::this_thread::sleep_for(1ms);  // an operation's work
            channel.Breathe();
          }
          readWhileRunning = read.load();
          channel.SetRunnerLock(nullptr);
          channel.End(RunState::Finished);
        }) {
    while (!started) std::this_thread::yield();
  }
  ~WorkingRun() { runner.join(); }

  std::atomic<bool> started{false}, read{false};
  std::thread runner;
};

TEST(RunChannelTest, ALongRunLetsTheWorkbookBeReadBetweenItsOperations) {
  RunChannel channel;
  std::atomic<bool> readWhileRunning{false};
  {
    WorkingRun run(channel, readWhileRunning);
    std::this_thread::sleep_for(120ms);
    {
      std::lock_guard<std::mutex> reading(channel.Mutex());
      nlohmann::json status;
      channel.Describe(status);
      EXPECT_EQ(status["state"], "running");
      EXPECT_EQ(status["seconds"], 0) << "how long it has taken, in whole seconds";
      run.read = true;
    }
  }
  EXPECT_TRUE(readWhileRunning) << "read before the run ended, not after it";
  nlohmann::json status;
  channel.Describe(status);
  EXPECT_EQ(status["state"], "finished");
  EXPECT_FALSE(status.contains("seconds")) << "only while a run is going";
}

TEST(RunChannelTest, AWaitingReaderIsAnsweredWhenTheRunEndsAndNotBefore) {
  RunChannel channel;
  std::atomic<bool> begun{false};
  std::thread runner([&] {
    {
      std::lock_guard<std::mutex> working(channel.Mutex());
      channel.Begin();
      begun = true;
    }
    std::this_thread::sleep_for(100ms);
    std::lock_guard<std::mutex> ending(channel.Mutex());
    channel.End(RunState::Finished);
  });
  while (!begun) std::this_thread::yield();
  {
    std::unique_lock<std::mutex> reading(channel.Mutex());
    channel.WaitWhileRunning(reading, 10s);
    nlohmann::json status;
    channel.Describe(status);
    EXPECT_EQ(status["state"], "finished");
  }
  runner.join();
}

TEST(RunChannelTest, OutsideARunBreathingLetsGoOfNothing) {
  RunChannel channel;
  std::unique_lock<std::mutex> held(channel.Mutex());
  channel.Breathe();  // no run's lock: nothing to let go of
  EXPECT_TRUE(held.owns_lock());
}

TEST(RunChannelTest, ABoxOutsideARunTakesItsDefaultAtOnce) {
  RunChannel channel;
  std::lock_guard<std::mutex> held(channel.Mutex());
  EXPECT_EQ(channel.AskMessage("Clear E1?", vbYesNo | vbDefaultButton2, "HZ"), vbNo);
  EXPECT_EQ(channel.AskMessage("Clear E1?", vbYesNo, "HZ"), vbYes);
  EXPECT_EQ(channel.AskRange("Which range?", "SC0"), std::nullopt);
  nlohmann::json status;
  channel.Describe(status);
  EXPECT_EQ(status["state"], "idle") << "nothing was asked of the page";
  EXPECT_FALSE(status.contains("question"));
  // An answer to a box the page was never asked is refused, whatever its number.
  for (int id : {1, 2, 3}) {
    try {
      channel.Answer({{"id", id}, {"answer", "Yes"}});
      ADD_FAILURE() << "answer " << id << " taken";
    } catch (const ApiError& error) {
      EXPECT_EQ(error.status, 409);
    }
  }
}

TEST(MessageButtonsTest, OKAloneIsNoQuestionAndAQuestionDefaultsToItsFirstButtonUnlessAsked) {
  MessageButtons ok(vbOKOnly | vbDefaultButton2);
  EXPECT_FALSE(ok.question);
  EXPECT_EQ(ok.byDefault, vbOK);
  EXPECT_EQ(AnswerNamed(ok, "Cancel"), std::nullopt);
  EXPECT_EQ(AnswerNamed(ok, "OK"), vbOK);
  EXPECT_EQ(MessageButtons(vbYesNo).byDefault, vbYes);
  EXPECT_EQ(MessageButtons(vbYesNo | vbDefaultButton2).byDefault, vbNo);
  MessageButtons okCancel(vbOKCancel | vbDefaultButton2);
  EXPECT_TRUE(okCancel.question);
  EXPECT_EQ(okCancel.byDefault, vbCancel);
  EXPECT_EQ(AnswerNamed(okCancel, "Yes"), std::nullopt);
}

}  // namespace
}  // namespace tavrin

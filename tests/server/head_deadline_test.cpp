#include "server/head_deadline.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tavrin {
namespace {

using namespace std::chrono_literals;

// A connected pair of sockets: the server's end and the client's.
class SocketPair {
 public:
  SocketPair() { EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, ends), 0); }
  ~SocketPair() {
    ::close(ends[0]);
    ::close(ends[1]);
  }
  int Server() const { return ends[0]; }
  // Whether the client's end sees the connection ended within the time.
  bool EndedWithin(std::chrono::milliseconds time) const {
    pollfd watched{ends[1], POLLIN, 0};
    if (::poll(&watched, 1, static_cast<int>(time.count())) <= 0) return false;
    char byte;
    return ::recv(ends[1], &byte, 1, MSG_DONTWAIT) == 0;
  }

 private:
  int ends[2] = {-1, -1};
};

TEST(HeadDeadlineTest, AHeadNotWholeInTimeIsCutOffAndOneReadHasNoTime) {
  HeadDeadline deadline(200ms);
  SocketPair slow, read, answered;
  deadline.Opened(&slow, slow.Server());
  deadline.Opened(&read, read.Server());
  deadline.Opened(&answered, answered.Server());
  deadline.HeadRead(&read);
  deadline.HeadRead(&answered);
  deadline.Answered(&answered);  // waiting for its next head
  EXPECT_TRUE(slow.EndedWithin(2s));
  EXPECT_TRUE(answered.EndedWithin(2s));
  EXPECT_FALSE(read.EndedWithin(400ms)) << "a request being answered takes its time";
  deadline.Closed(&slow);
  deadline.Closed(&read);
  deadline.Closed(&answered);
}

}  // namespace
}  // namespace tavrin

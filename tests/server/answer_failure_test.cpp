#include <dlfcn.h>
#include <microhttpd.h>

#include <atomic>

#include "server/server_fixture.h"

namespace {

std::atomic<bool> failAnswers{false};

}  // namespace

// Stands in for the library's own: while failAnswers is set, no answer can be made, as when
// memory runs out.
extern "C" MHD_Response* MHD_create_response_from_buffer(size_t size, void* buffer,
                                                         MHD_ResponseMemoryMode mode) {
  using Real = MHD_Response* (*)(size_t, void*, MHD_ResponseMemoryMode);
  static const auto real =
      reinterpret_cast<Real>(dlsym(RTLD_NEXT, "MHD_create_response_from_buffer"));
  return failAnswers ? nullptr : real(size, buffer, mode);
}

namespace tavrin {
namespace {

TEST_F(ServerTest, AnAnswerThatCannotBeMadeEndsItsConnectionAndTheServerGoesOn) {
  failAnswers = true;
  Raw raw(port);
  ASSERT_TRUE(raw.Send(Head("GET", "/api/workbook") + "\r\n"));
  int status = raw.Status();
  failAnswers = false;
  EXPECT_EQ(status, 0);
  EXPECT_EQ(Get("/api/workbook").status, 200);
}

}  // namespace
}  // namespace tavrin

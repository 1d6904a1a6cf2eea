#include <fcntl.h>

#include "server/server_fixture.h"

namespace tavrin {

namespace {

using std::chrono::milliseconds;
using std::chrono::steady_clock;

std::string Chunk(const std::string& bytes) {
  char size[32];
  snprintf(size, sizeof size, "%zx\r\n", bytes.size());
  return size + bytes + "\r\n";
}

TEST_F(ServerTest, AChunkedUploadStopsAtTheUploadLimit) {
  Raw raw(port);
  ASSERT_TRUE(
      raw.Send(Head("POST", "/api/open?name=big.xlsx") + "Transfer-Encoding: chunked\r\n\r\n"));
  std::string chunk = Chunk(std::string(size_t{1} << 20, 'x'));
  size_t sent = 0;
  while (sent < Server::kMostUpload + (size_t{8} << 20) && raw.Send(chunk)) sent += 1 << 20;
  // The server stopped reading at the limit: the rest could not be sent, or was never read.
  std::string answer = raw.Receive();
  EXPECT_TRUE(answer.empty() || answer.starts_with("HTTP/1.1 413")) << answer.substr(0, 40);
  EXPECT_EQ(Get("/api/workbook").body["file"], "list.xlsx");
}

TEST_F(ServerTest, AJsonBodyPastOneMegabyteIsRefusedBeforeItIsRead) {
  Raw raw(port);
  ASSERT_TRUE(raw.Send(Head("POST", "/api/select") +
                       "Content-Length: " + std::to_string(Server::kMostJson + 1) + "\r\n\r\n"));
  EXPECT_EQ(raw.Status(), 413);
  Raw unreadable(port);
  ASSERT_TRUE(unreadable.Send(Head("POST", "/api/select") + "Content-Length: " +
                              std::to_string(Server::kMostJson + 1) + "x\r\n\r\n"));
  EXPECT_EQ(unreadable.Status(), 400) << "a length that is no number";
  // One megabyte exactly is read, and answered as the JSON it is not.
  std::string body(Server::kMostJson, '[');
  EXPECT_EQ(Read(client->Post("/api/select", body, "application/json")).status, 400);
}

// The HTTP library refuses most of these first; the server does not count on it.
TEST_F(ServerTest, ALengthThatIsNoNumberTheServerHoldsIsRefusedBeforeTheBody) {
  auto refusal = [&](const std::string& length) {
    RequestHead head{
        "POST",
        "/api/select",
        {{"Host", "127.0.0.1:" + std::to_string(port)}, {"X-Tavrin-Token", server->Token()}},
        {}};
    if (!length.empty()) head.headers.emplace_back("Content-Length", length);
    size_t most = 0;
    std::optional<HttpAnswer> answer = server->Admit(head, most);
    return answer ? answer->status : 0;
  };
  EXPECT_EQ(refusal(""), 0);
  EXPECT_EQ(refusal("2"), 0);
  EXPECT_EQ(refusal(std::to_string(Server::kMostJson + 1)), 413);
  for (const char* length : {"2x", "x2", "-1", "+2", "1 2", "18446744073709551616"})
    EXPECT_EQ(refusal(length), 400) << length;
}

TEST_F(ServerTest, AHeadPastItsLimitIsCutOffBeforeTheTokenIsChecked) {
  Raw raw(port);
  std::string lines;
  for (int i = 0; i < 1000; ++i) lines += "X-Pad: " + std::string(48, 'a') + "\r\n";
  ASSERT_TRUE(
      raw.Send("GET /api/workbook HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) + "\r\n"));
  size_t sent = 0;
  while (sent < (size_t{64} << 20) && raw.Send(lines)) sent += lines.size();
  // The server reads a few tens of kilobytes and closes; what the sender got rid of before it
  // heard so is what the two sockets' buffers hold (some megabytes), where all 64 MB used to be
  // read.
  EXPECT_LT(sent, size_t{32} << 20);
  EXPECT_EQ(Get("/api/workbook").status, 200);
}

TEST_F(ServerTest, SlowClientsHoldUpNoOneAndStopClosesThem) {
  std::vector<std::unique_ptr<Raw>> slow;
  for (int i = 0; i < 12; ++i) {
    slow.push_back(std::make_unique<Raw>(port));
    ASSERT_TRUE(slow.back()->Send("GET /api/workbook HTTP/1.1\r\nX-Slow: 1\r\n"));
  }
  auto started = steady_clock::now();
  for (int round = 0; round < 3; ++round) {
    for (auto& raw : slow) raw->Send("X-Slow: 1\r\n");
    EXPECT_EQ(Get("/api/workbook").status, 200);
  }
  EXPECT_LT(steady_clock::now() - started, milliseconds(2000));
  started = steady_clock::now();
  server->Stop();
  listener.join();
  EXPECT_LT(steady_clock::now() - started, milliseconds(2000));
  // Every connection was closed: a slow client hears its end at once.
  EXPECT_EQ(slow.front()->Receive(milliseconds(1000)), "");
  listener = std::thread([] {});
}

TEST_F(ServerTest, AHeadSentALineAtATimeIsCutOffAtItsTime) {
  // A connection that came and went a while before: the slow one may take its socket's
  // number, and its time counts from its own start, not from the other's end.
  {
    Raw earlier(port);
    ASSERT_TRUE(earlier.Send(Head("GET", "/api/menu") + "Connection: close\r\n\r\n"));
    EXPECT_EQ(earlier.Status(), 200);
  }
  std::this_thread::sleep_for(std::chrono::seconds(3));
  Raw slow(port);
  ASSERT_TRUE(slow.Send("GET /api/workbook HTTP/1.1\r\n"));
  auto started = steady_clock::now();
  auto bound = HttpDaemon::kHeadTime + std::chrono::seconds(3);
  // A line every quarter second, until a send fails on the closed connection.
  while (steady_clock::now() - started < bound && slow.Send("X-Slow: 1\r\n"))
    slow.Receive(milliseconds(250));
  auto took = steady_clock::now() - started;
  EXPECT_GE(took, HttpDaemon::kHeadTime - std::chrono::seconds(1));
  EXPECT_LT(took, bound);
}

TEST_F(ServerTest, ManyConnectionsOpenedAtOnceAreAllAnswered) {
  std::vector<std::unique_ptr<Raw>> many;
  for (int i = 0; i < 40; ++i) many.push_back(std::make_unique<Raw>(port));
  for (auto& raw : many) ASSERT_TRUE(raw->Send(Head("GET", "/api/menu") + "\r\n"));
  int answered = 0;
  for (auto& raw : many) answered += raw->Status() == 200;
  EXPECT_EQ(answered, 40);
}

// Started with its standard input closed (as a service may be), the server's socket may be
// descriptor 0, and is one all the same: bound, served, and closed with the server.
TEST_F(ServerTest, AServerWhoseSocketIsDescriptorZeroServes) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        ::close(0);
        bool closed = Server(file).Bind(0) > 0;  // and the server gone
        closed = closed && ::fcntl(0, F_GETFD) == -1;
        Server serving(file);
        bool bound = serving.Bind(0) > 0 && ::fcntl(0, F_GETFD) != -1;
        serving.Stop();  // at once: it starts, and stops
        std::_Exit(closed && bound && serving.Listen() ? 0 : 1);
      },
      ::testing::ExitedWithCode(0), "");
}

TEST_F(ServerTest, APortInUseIsNotShared) {
  Server second(file);
  EXPECT_EQ(second.Bind(port), -1);
  EXPECT_FALSE(second.Listen()) << "bound to no port, it serves nothing";
  EXPECT_GT(second.Bind(0), 0);
}

TEST_F(ServerTest, NumbersOutOfRangeAreRefusedNotConverted) {
  for (const char* sheet : {"1e300", "4294967296", "-4294967296", "0.5", "\"0\"", "null"}) {
    std::string body = std::string(R"({"sheet":)") + sheet + R"(,"selection":"B2"})";
    EXPECT_EQ(Read(client->Post("/api/select", body, "application/json")).status, 400) << sheet;
  }
  EXPECT_EQ(Get("/api/workbook").body["selection"], "A1");
  EXPECT_EQ(Post("/api/select", {{"sheet", 0}, {"selection", "B2"}}).status, 200);
  // The largest whole numbers an int holds are numbers, only of no sheet.
  for (long long edge : {2147483647LL, -2147483648LL}) {
    Answer answer = Post("/api/select", {{"sheet", edge}, {"selection", "B2"}});
    EXPECT_EQ(answer.status, 400);
    EXPECT_NE(answer.body["error"], "sheet 应是整数。") << edge;
  }
  EXPECT_EQ(Post("/api/select", {{"sheet", 2147483648LL}, {"selection", "B2"}}).body["error"],
            "sheet 应是整数。");
  // A block must lie on the sheet, each of its edges.
  for (const char* block : {"top=0&left=1&bottom=1&right=1", "top=1&left=0&bottom=1&right=1",
                            "top=1&left=1&bottom=65537&right=1", "top=1&left=1&bottom=1&right=257",
                            "top=2&left=1&bottom=1&right=1", "top=1&left=2&bottom=1&right=1"})
    EXPECT_EQ(Get(std::string("/api/cells?sheet=0&") + block).status, 400) << block;
  // An edge given no number, or none at all.
  for (const char* block : {"top=&left=1&bottom=1&right=1", "top=1x&left=1&bottom=1&right=1",
                            "left=1&bottom=1&right=1"})
    EXPECT_EQ(Get(std::string("/api/cells?sheet=0&") + block).body,
              json({{"error", "参数 top 应是整数。"}}))
        << block;
}

TEST_F(ServerTest, ExpectContinueIsAnsweredOnlyAfterTheChecks) {
  Raw stranger(port);
  ASSERT_TRUE(stranger.Send(
      "POST /api/open?name=a.xlsx HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
      "\r\nContent-Length: 10\r\nExpect: 100-continue\r\n\r\n"));
  EXPECT_EQ(stranger.Status(), 403);
  Raw own(port);
  ASSERT_TRUE(
      own.Send(Head("POST", "/api/undo") + "Content-Length: 2\r\nExpect: 100-continue\r\n\r\n"));
  EXPECT_EQ(own.Receive(milliseconds(1000), true).substr(0, 12), "HTTP/1.1 100");
}

TEST_F(ServerTest, AWrongMethodIs405AndNamesTheRightOnes) {
  auto answer = client->Delete("/api/workbook");
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->status, 405);
  EXPECT_EQ(answer->get_header_value("Allow"), "GET");
  answer = client->Put("/api/run", "{}", "application/json");
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->status, 405);
  EXPECT_EQ(answer->get_header_value("Allow"), "POST, GET");
  // The routes that only read answer a change with 405 too.
  for (const char* path : {"/api/end", "/api/summary"}) {
    answer = client->Post(path, "{}", "application/json");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->status, 405) << path;
    EXPECT_EQ(answer->get_header_value("Allow"), "GET") << path;
  }
  EXPECT_EQ(Get("/api/nothing").status, 404);
  // The assets' folder is theirs: no file there, and only read.
  EXPECT_EQ(Get("/assets/").status, 404);
  EXPECT_EQ(Get("/assets/nothing.js").status, 404);
  answer = client->Post("/assets/", "{}", "application/json");
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->status, 405);
  EXPECT_EQ(answer->get_header_value("Allow"), "GET");
  EXPECT_EQ(Get("/assets").status, 404);
}

}  // namespace

}  // namespace tavrin

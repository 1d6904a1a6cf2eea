#include "server/server_fixture.h"

namespace tavrin {

namespace {

const json kRefused = {{"error", "拒绝访问：请用 tavrin serve 给出的地址打开。"}};

TEST_F(ServerTest, RefusesRequestsWithoutTheTokenOrNamedOrSentFromElsewhere) {
  auto stranger = Client();
  EXPECT_EQ(Read(stranger->Get("/api/workbook")).status, 403);
  EXPECT_EQ(Read(stranger->Get("/api/workbook")).body, kRefused);
  EXPECT_EQ(Read(stranger->Get("/?token=0123456789abcdef0123456789abcdef")).status, 403);
  // DNS rebinding: a foreign name that resolves to the loopback address.
  EXPECT_EQ(
      Read(client->Get("/api/workbook", {{"Host", "evil.example:" + std::to_string(port)}})).status,
      403);
  EXPECT_EQ(Read(client->Get("/api/workbook", {{"Origin", "http://evil.example"}})).status, 403);
  std::string own = "http://localhost:" + std::to_string(port);
  EXPECT_EQ(Read(client->Get("/api/workbook", {{"Origin", own}})).status, 200);
  EXPECT_EQ(
      Read(stranger->Get("/api/workbook", {{"Cookie", "a=1; tavrin_token=" + server->Token()}}))
          .status,
      200);
  // A cookie whose name only begins or ends with the token's name is another cookie.
  for (const std::string& cookie :
       {"tavrin_tokenX" + server->Token(), "tavrin_tokenX=" + server->Token(),
        "my_tavrin_token=" + server->Token(), "TAVRIN_TOKEN=" + server->Token(),
        "tavrin_token=" + server->Token() + "0"}) {
    EXPECT_EQ(Read(stranger->Get("/api/workbook", {{"Cookie", cookie}})).status, 403) << cookie;
  }
}

TEST_F(ServerTest, HostIsMatchedInAnyCaseAndNearMissesAndDuplicatesAreRefused) {
  std::string own = std::to_string(port);
  std::string other = std::to_string(port == 65535 ? port - 1 : port + 1);
  auto status = [&](const std::string& extra) {
    Raw raw(port);
    raw.Send("GET /api/workbook HTTP/1.1\r\nX-Tavrin-Token: " + server->Token() + "\r\n" + extra +
             "\r\n");
    return raw.Status();
  };
  EXPECT_EQ(status("Host: LOCALHOST:" + own + "\r\n"), 200);
  EXPECT_EQ(status("Host: LocalHost:" + own + "\r\nOrigin: HTTP://LOCALHOST:" + own + "\r\n"), 200);
  for (const std::string& host :
       {"localhost:" + other, "localhost:" + own + "0", "localhost." + own, "localhost.:" + own,
        "127.0.0.2:" + own, "xlocalhost:" + own, std::string("localhost")}) {
    EXPECT_EQ(status("Host: " + host + "\r\n"), 403) << host;
  }
  for (const std::string& origin :
       {"http://localhost:" + other, "http://localhost:" + own + "0",
        "http://localhost.evil.example:" + own, "https://localhost:" + own,
        "http://127.0.0.1:" + own + ".evil.example", std::string("http://localhost"),
        std::string("null")}) {
    EXPECT_EQ(status("Host: 127.0.0.1:" + own + "\r\nOrigin: " + origin + "\r\n"), 403) << origin;
  }
  EXPECT_EQ(status("Host: 127.0.0.1:" + own + "\r\nHost: 127.0.0.1:" + own + "\r\n"), 400);
  EXPECT_EQ(status("Host: 127.0.0.1:" + own + "\r\nhost: evil.example\r\n"), 400);
  EXPECT_EQ(status("Host: 127.0.0.1:" + own + "\r\nOrigin: http://localhost:" + own +
                   "\r\nOrigin: http://evil.example\r\n"),
            400);
}

TEST_F(ServerTest, ThePageAddressSetsAStrictCookieAndTheAssetsAreBuiltIn) {
  auto browser = Client();
  auto page = browser->Get(("/?token=" + server->Token()).c_str());
  ASSERT_TRUE(page);
  EXPECT_EQ(page->status, 200);
  EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_EQ(page->get_header_value("Set-Cookie"),
            "tavrin_token=" + server->Token() + "; HttpOnly; SameSite=Strict; Path=/");
  EXPECT_EQ(server->Address(),
            "http://127.0.0.1:" + std::to_string(port) + "/?token=" + server->Token());
  EXPECT_EQ(server->Token().size(), 32u);

  auto picture = client->Get("/assets/info.png");
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->get_header_value("Content-Type"), "image/png");
  // The signature, then the header chunk: 505 x 373 pixels.
  EXPECT_EQ(picture->body.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
  EXPECT_EQ(picture->body.substr(16, 8), std::string("\0\0\x01\xf9\0\0\x01\x75", 8));
  EXPECT_EQ(Get("/assets/nothing.js").status, 404);
}

}  // namespace

}  // namespace tavrin

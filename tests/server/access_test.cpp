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

#pragma once

#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>

#include "io/workbook_file.h"
#include "server/server.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"

namespace tavrin {

using nlohmann::json;

// A server on a free port of this process, serving a small list in a folder of the test's own:
//   Sheet1: A1:C5 Region, Product, Units (North Tea 3, South Tea 4, North Tea 5, North Coffee 1),
//           A6:C6 West Tea 0, E1 "old".
// A client that sends the token in its header.
class ServerTest : public testing::Test {
 protected:
  void SetUp() override {
    // A server that stops reading gives a client writing on EPIPE, not a signal.
    signal(SIGPIPE, SIG_IGN);
    folder = std::filesystem::temp_directory_path() /
             ("tavrin-server-" +
              std::string(testing::UnitTest::GetInstance()->current_test_info()->name()) + "-" +
              std::to_string(::getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    file = folder / "list.xlsx";
    WriteList(file);
    server = std::make_unique<Server>(file);
    port = server->Bind(0);
    ASSERT_GT(port, 0);
    listener = std::thread([this] { served = server->Listen(); });
    client = Client();
    client->set_default_headers({{"X-Tavrin-Token", server->Token()}});
    // The first answer shows the server listening, so it can be stopped.
    ASSERT_EQ(Get("/api/workbook").status, 200);
  }

  void TearDown() override {
    if (server != nullptr) StopServer();
    std::filesystem::remove_all(folder);
  }

  void StopServer() {
    server->Stop();
    listener.join();
    EXPECT_TRUE(served) << "a server stopped on request served";
    server.reset();
  }

  static void WriteList(const std::filesystem::path& path) {
    Spreadsheet app;
    Book& book = app.AddWorkbook(path.filename().string());
    Sheet& sheet = book.AddSheet("Sheet1");
    const std::vector<std::vector<Variant>> rows = {
        {"Region", "Product", "Units"}, {"North", "Tea", 3.0},    {"South", "Tea", 4.0},
        {"North", "Tea", 5.0},          {"North", "Coffee", 1.0}, {"West", "Tea", 0.0}};
    for (size_t r = 0; r < rows.size(); ++r) {
      for (size_t c = 0; c < rows[r].size(); ++c) {
        sheet.Cells(static_cast<int>(r) + 1, static_cast<int>(c) + 1).SetValue(rows[r][c]);
      }
    }
    sheet.Range("E1").SetValue(Variant("old"));
    SaveWorkbook(book, path);
  }

  static std::string Bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }

  // A connection to the server of raw bytes, for what a well-behaved client never sends.
  class Raw {
   public:
    explicit Raw(int serverPort) : fd(::socket(AF_INET, SOCK_STREAM, 0)) {
      sockaddr_in address{};
      address.sin_family = AF_INET;
      address.sin_port = htons(static_cast<uint16_t>(serverPort));
      address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      connected = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~Raw() { ::close(fd); }
    Raw(const Raw&) = delete;
    Raw& operator=(const Raw&) = delete;

    // Whether all the bytes were sent (false once the server has closed).
    bool Send(std::string_view bytes) {
      while (!bytes.empty()) {
        ssize_t sent = ::send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) return false;
        bytes.remove_prefix(static_cast<size_t>(sent));
      }
      return true;
    }
    // What the server sends until it closes, or until the time is up; only an answer's head when
    // asked for.
    std::string Receive(std::chrono::milliseconds most = std::chrono::seconds(5),
                        bool head = false) {
      std::string received;
      auto end = std::chrono::steady_clock::now() + most;
      for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        pollfd ready{fd, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) break;
        char buffer[4096];
        ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        received.append(buffer, static_cast<size_t>(got));
        if (head && received.find("\r\n\r\n") != std::string::npos) break;
      }
      return received;
    }
    // The status of the answer received, 0 when none came.
    int Status(std::chrono::milliseconds most = std::chrono::seconds(5)) {
      std::string answer = Receive(most, true);
      return answer.starts_with("HTTP/1.1 ") ? std::stoi(answer.substr(9, 3)) : 0;
    }
    bool connected = false;

   private:
    int fd;
  };

  // A request's first lines with the right Host and the token; the headers go on after them.
  std::string Head(const std::string& method, const std::string& path) const {
    return method + " " + path + " HTTP/1.1\r\nHost: 127.0.0.1:" + std::to_string(port) +
           "\r\nX-Tavrin-Token: " + server->Token() + "\r\n";
  }

  std::unique_ptr<httplib::Client> Client() const {
    return std::make_unique<httplib::Client>("127.0.0.1", port);
  }

  struct Answer {
    int status;
    json body;
  };

  static Answer Read(const httplib::Result& result) {
    if (!result) return {0, json()};
    return {result->status, json::parse(result->body, nullptr, false)};
  }
  Answer Get(const std::string& path) { return Read(client->Get(path.c_str())); }
  Answer Post(const std::string& path, const json& body) {
    return Read(client->Post(path.c_str(), body.dump(), "application/json"));
  }

  // Starts a tool and waits until it asks or ends.
  json Run(const std::string& tool, const json& controls) {
    EXPECT_EQ(Post("/api/run", {{"tool", tool}, {"controls", controls}}).status, 202);
    return Settled();
  }
  // A run still going after a minute is stuck (every run of these tests takes well under a
  // second): the test fails rather than waiting for ever.
  json Settled() {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    json state = Get("/api/run?wait=1").body;
    while (state["state"] == "running") {
      if (std::chrono::steady_clock::now() > deadline) {
        ADD_FAILURE() << "the run neither asked nor ended within a minute";
        break;
      }
      state = Get("/api/run?wait=1").body;
    }
    return state;
  }
  json Reply(const json& state, const std::string& answer) {
    EXPECT_EQ(Post("/api/answer", {{"id", state["question"]["id"]}, {"answer", answer}}).status,
              200);
    return Settled();
  }
  // The shown text of a cell of the first sheet, "" when empty.
  std::string Text(int row, int column) {
    json cells =
        Get("/api/cells?sheet=0&top=" + std::to_string(row) + "&left=" + std::to_string(column) +
            "&bottom=" + std::to_string(row) + "&right=" + std::to_string(column))
            .body["cells"];
    return cells.empty() ? "" : cells[0]["text"].get<std::string>();
  }

  // HZ over the list into E1, its two questions answered: Yes to clearing E1, OK to the end.
  json Summarise() {
    json asked =
        Run("HZ",
            {{"RefEdit1", "A1:C5"}, {"RefEdit2", "A1:B1"}, {"RefEdit3", "C1"}, {"RefEdit4", "E1"}});
    return Reply(Reply(asked, "Yes"), "OK");
  }

  std::filesystem::path folder;
  std::filesystem::path file;
  std::unique_ptr<Server> server;
  int port = 0;
  std::thread listener;
  bool served = false;
  std::unique_ptr<httplib::Client> client;
};

}  // namespace tavrin

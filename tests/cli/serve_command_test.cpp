#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <regex>

#include "cli/run_tavrin.h"

namespace tavrin {

namespace {

std::string ServeFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

TEST(ServeCommand, PrintsTheAddressFirstAndStopsOnCtrlCWritingNothing) {
  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tavrin-serve-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::filesystem::path book = folder / "sales.xlsx";
  std::filesystem::copy_file("../examples/sales.xlsx", book);
  std::string before = ServeFileBytes(book);
  std::filesystem::path out = folder / "out.txt";

  // Job control on, so the server started in the background takes SIGINT as Ctrl-C sends it.
  std::string script = "set -m; " + std::string(TAVRIN_BINARY) + " serve " + Quoted(book) + " >" +
                       Quoted(out) + " 2>/dev/null & pid=$!; " + "for i in $(seq 100); do [ -s " +
                       Quoted(out) +
                       " ] && break; sleep 0.1; done; kill -INT $pid; wait $pid; echo $?";
  FILE* shell = popen(("timeout 30 sh -c " + Quoted(script)).c_str(), "r");
  char status[16] = {};
  ASSERT_NE(fgets(status, sizeof status, shell), nullptr);
  pclose(shell);

  EXPECT_STREQ(status, "0\n");
  std::string printed = ServeFileBytes(out);
  EXPECT_TRUE(std::regex_match(printed,
                               std::regex("http://127\\.0\\.0\\.1:[0-9]+/\\?token=[0-9a-f]{32}\n")))
      << printed;
  EXPECT_EQ(ServeFileBytes(book), before);
  std::filesystem::remove_all(folder);
}

TEST(ServeCommand, APortAnotherServerListensOnIsNotShared) {
  // Held as a server that lets others share its port would hold it.
  int held = ::socket(AF_INET, SOCK_STREAM, 0);
  int on = 1;
  ::setsockopt(held, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  ::setsockopt(held, SOL_SOCKET, SO_REUSEPORT, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  ASSERT_EQ(::bind(held, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  ASSERT_EQ(::listen(held, 1), 0);
  ::getsockname(held, reinterpret_cast<sockaddr*>(&address), &length);
  std::string port = std::to_string(ntohs(address.sin_port));

  Outcome served = Tavrin("serve ../examples/sales.xlsx --port " + port);
  EXPECT_EQ(served.status, 2);
  EXPECT_EQ(served.out, "");
  EXPECT_EQ(served.err, "tavrin serve: cannot listen on 127.0.0.1:" + port + "\n");
  ::close(held);
}

}  // namespace

}  // namespace tavrin

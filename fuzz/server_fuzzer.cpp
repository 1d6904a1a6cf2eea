// The server's request handling, in process: a request line, headers and a body as the input
// gives them, with the right Host and token in front unless the input's first byte says not, put
// through the access checks and the routes. Every answer must be one the server means to give,
// never a 500, and a JSON answer must be JSON.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <nlohmann/json.hpp>
#include <set>
#include <string>
#include <string_view>

#include "io/workbook_file.h"
#include "require.h"
#include "scratch_folder.h"
#include "server/server.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {
namespace {

namespace fs = std::filesystem;

// A small list in a folder of this process's own, and a server on it (never bound to a port).
struct Served {
  Served() : folder(ScratchFolder()), file(folder / "list.xlsx") {
    {
      Spreadsheet app;
      Book& book = app.AddWorkbook("list.xlsx");
      Sheet& sheet = book.AddSheet("Sheet1");
      const char* names[] = {"Region", "North", "South", "North", "West"};
      for (int r = 1; r <= 5; ++r) {
        sheet.Cells(r, 1).SetValue(Variant(names[r - 1]));
        if (r > 1) sheet.Cells(r, 2).SetValue(Variant(static_cast<double>(r)));
      }
      SaveWorkbook(book, file);
    }
    server = std::make_unique<Server>(file);
  }
  // Save As may have written files beside the list: they go after each input.
  void Tidy() const {
    for (const auto& entry : fs::directory_iterator(folder)) {
      if (entry.path() != file) fs::remove_all(entry.path());
    }
  }

  fs::path folder;
  fs::path file;
  std::unique_ptr<Server> server;
};

std::string_view Line(std::string_view& text) {
  size_t end = text.find('\n');
  std::string_view line = text.substr(0, end);
  text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
  if (line.ends_with('\r')) line.remove_suffix(1);
  return line;
}

std::pair<std::string, std::string> Split(std::string_view text, char at) {
  size_t where = text.find(at);
  if (where == std::string_view::npos) return {std::string(text), ""};
  return {std::string(text.substr(0, where)), std::string(text.substr(where + 1))};
}

// "METHOD PATH?a=1&b=2", header lines up to an empty one, then the body.
RequestHead HeadOf(std::string_view& text) {
  RequestHead head;
  auto [method, target] = Split(Line(text), ' ');
  head.method = method;
  auto [path, query] = Split(target, '?');
  head.path = path;
  for (std::string_view rest = query; !rest.empty();) {
    size_t end = rest.find('&');
    head.query.push_back(Split(rest.substr(0, end), '='));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  for (std::string_view line = Line(text); !line.empty(); line = Line(text)) {
    auto [name, value] = Split(line, ':');
    while (value.starts_with(' ')) value.erase(0, 1);
    head.headers.emplace_back(name, value);
  }
  return head;
}

}  // namespace
}  // namespace tavrin

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace tavrin;
  static Served served;
  if (size == 0) return 0;
  bool admitted = (data[0] & 1) == 0;
  std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  RequestHead head = HeadOf(text);
  if (admitted) {
    head.headers.insert(head.headers.begin(),
                        {{"Host", "127.0.0.1:0"}, {"X-Tavrin-Token", served.server->Token()}});
  }
  size_t mostBody = 0;
  std::optional<HttpAnswer> refusal = served.server->Admit(head, mostBody);
  HttpAnswer answer = refusal                  ? *refusal
                      : text.size() > mostBody ? served.server->TooLarge()
                                               : served.server->Answer(head, std::string(text));
  static const std::set<int> kMeant = {200, 202, 400, 403, 404, 405, 409, 413};
  Require(kMeant.contains(answer.status), "an answer is one the server means to give",
          std::to_string(answer.status) + " " + answer.body);
  if (answer.type == "application/json") {
    Require(nlohmann::json::accept(answer.body), "a JSON answer is JSON", answer.body);
  }
  served.Tidy();
  return 0;
}

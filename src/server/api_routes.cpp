#include <httplib.h>

#include <cctype>
#include <charconv>
#include <functional>
#include <nlohmann/json.hpp>

#include "infowindow/info_picture.h"
#include "server/api_error.h"
#include "server/png.h"
#include "server/server.h"
#include "server/web_assets.h"
#include "server/workbench.h"

namespace tavrin {

namespace {

using Request = httplib::Request;
using Response = httplib::Response;
using JsonHandler = std::function<nlohmann::json(const Request&, Response&)>;

constexpr long long kMostCellsAsked = 50000;

// A handler whose answer is JSON; a refusal becomes {"error": ...} with its status.
httplib::Server::Handler Json(JsonHandler handler) {
  return [handler = std::move(handler)](const Request& req, Response& res) {
    int status = 200;
    nlohmann::json answer;
    try {
      answer = handler(req, res);
    } catch (const ApiError& error) {
      status = error.status;
      answer = {{"error", error.message}};
    } catch (const nlohmann::json::exception&) {
      status = 400;
      answer = {{"error", "请求的内容不是可读的 JSON。"}};
    }
    if (status != 200) res.status = status;
    res.set_content(answer.dump(), "application/json");
  };
}

nlohmann::json Body(const Request& req) {
  return req.body.empty() ? nlohmann::json::object() : nlohmann::json::parse(req.body);
}

int NumberParam(const Request& req, const char* name) {
  std::string text = req.get_param_value(name);
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
    throw ApiError{400, std::string("参数 ") + name + " 应是整数。"};
  }
  return value;
}

Area AskedBlock(const Request& req) {
  int top = NumberParam(req, "top"), left = NumberParam(req, "left");
  int bottom = NumberParam(req, "bottom"), right = NumberParam(req, "right");
  if (top < 1 || left < 1 || bottom > kLastRow || right > kLastColumn || top > bottom ||
      left > right) {
    throw ApiError{400, "区域超出了工作表。"};
  }
  Area block{top, left, bottom - top + 1, right - left + 1};
  if (block.Count() > kMostCellsAsked) throw ApiError{400, "一次最多读取 50000 个单元格。"};
  return block;
}

// The name offered for a download: as given where the header allows it, and in full for the
// browsers that read the UTF-8 form.
std::string Attachment(const std::string& name) {
  std::string plain;
  std::string encoded;
  const char* hex = "0123456789ABCDEF";
  for (char c : name) {
    auto byte = static_cast<unsigned char>(c);
    bool safe = std::isalnum(byte) || c == '.' || c == '-' || c == '_';
    // One "_" for a character the header cannot carry, whatever its length in bytes.
    bool continuation = (byte & 0xC0) == 0x80;
    if (!continuation) plain += byte >= 0x20 && byte < 0x80 && c != '"' && c != '\\' ? c : '_';
    if (safe) {
      encoded += c;
    } else {
      encoded += '%';
      encoded += hex[byte >> 4];
      encoded += hex[byte & 0xF];
    }
  }
  return "attachment; filename=\"" + plain + "\"; filename*=UTF-8''" + encoded;
}

void SendAsset(const std::string& name, Response& res) {
  if (name == "info.png") {
    static const std::string png = EncodePng(InfoPicture());
    res.set_content(png, "image/png");
    return;
  }
  const WebAsset* asset = FindWebAsset(name);
  if (asset == nullptr) {
    res.status = 404;
    return;
  }
  res.set_content(std::string(asset->bytes), std::string(MediaType(name)).c_str());
}

}  // namespace

void Server::AddRoutes() {
  Workbench& w = *bench;
  http->Get("/", [](const Request&, Response& res) { SendAsset("index.html", res); });
  http->Get(R"(/assets/(.+))",
            [](const Request& req, Response& res) { SendAsset(req.matches[1], res); });

  http->Get("/api/workbook", Json([&w](const Request&, Response&) { return w.Workbook(); }));
  http->Get("/api/layout", Json([&w](const Request& req, Response&) {
              return w.Layout(NumberParam(req, "sheet"));
            }));
  http->Get("/api/cells", Json([&w](const Request& req, Response&) {
              return w.Cells(NumberParam(req, "sheet"), AskedBlock(req));
            }));
  http->Post("/api/select", Json([&w](const Request& req, Response&) {
               nlohmann::json body = Body(req);
               w.Select(body.at("sheet").get<int>(), body.at("selection").get<std::string>());
               return w.Workbook();
             }));

  http->Get("/api/menu", Json([&w](const Request&, Response&) { return w.Menu(); }));
  http->Post("/api/action", Json([&w](const Request& req, Response&) {
               return w.Action(Body(req).at("action").get<std::string>());
             }));

  http->Post("/api/run", Json([&w](const Request& req, Response& res) {
               nlohmann::json started = w.StartRun(Body(req));
               res.status = 202;
               return started;
             }));
  http->Get("/api/run", Json([&w](const Request& req, Response&) {
              return w.RunStatus(req.get_param_value("wait") == "1");
            }));
  http->Post("/api/answer", Json([&w](const Request& req, Response&) {
               w.Answer(Body(req));
               return w.RunStatus(false);
             }));

  http->Post("/api/undo", Json([&w](const Request&, Response&) { return w.Undo(); }));
  http->Post("/api/save", Json([&w](const Request& req, Response&) { return w.Save(Body(req)); }));
  http->Get("/api/download", [&w](const Request& req, Response& res) {
    try {
      auto [bytes, name] = w.Download();
      res.set_header("Content-Disposition", Attachment(name));
      res.set_content(bytes, "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet");
    } catch (const ApiError& error) {
      Json([&](const Request&, Response&) -> nlohmann::json { throw error; })(req, res);
    }
  });
  http->Post("/api/open", Json([&w](const Request& req, Response&) {
               // The name comes as a query parameter, decoded once by the HTTP library.
               return w.Open(req.get_param_value("name"), req.body);
             }));
}

}  // namespace tavrin

#include <cctype>
#include <charconv>
#include <functional>
#include <limits>
#include <nlohmann/json.hpp>

#include "infowindow/info_picture.h"
#include "server/api_error.h"
#include "server/png.h"
#include "server/server.h"
#include "server/web_assets.h"
#include "server/workbench.h"

namespace tavrin {

namespace {

using JsonHandler =
    std::function<nlohmann::json(const RequestHead&, const std::string& body, HttpAnswer&)>;

constexpr long long kMostCellsAsked = 50000;

// A handler whose answer is JSON; a refusal becomes {"error": ...} with its status.
RouteTable::Handler Json(JsonHandler handler) {
  return [handler = std::move(handler)](const RequestHead& head, const std::string& body,
                                        HttpAnswer& answer) {
    nlohmann::json content;
    try {
      content = handler(head, body, answer);
    } catch (const ApiError& error) {
      answer.status = error.status;
      content = {{"error", error.message}};
      if (!error.reason.empty()) content["reason"] = error.reason;
    } catch (const nlohmann::json::exception&) {
      answer.status = 400;
      content = {{"error", "请求的内容不是可读的 JSON。"}};
    }
    answer.type = "application/json";
    answer.body = content.dump();
  };
}

nlohmann::json Body(const std::string& body) {
  return body.empty() ? nlohmann::json::object() : nlohmann::json::parse(body);
}

int NumberParam(const RequestHead& head, const char* name) {
  std::string_view text = head.Param(name);
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) {  // none, or no number
    throw ApiError{400, std::string("参数 ") + name + " 应是整数。"};
  }
  return value;
}

// A member that must be a whole number an int holds: 1e300, 2.5 and 4294967296 are refused,
// not converted.
int IntegerMember(const nlohmann::json& body, const char* name) {
  const nlohmann::json& value = body.at(name);
  constexpr auto kMost = std::numeric_limits<int>::max();
  bool fits = value.is_number_unsigned() ? value.get<unsigned long long>() <= kMost
              : value.is_number_integer()
                  ? value.get<long long>() >= std::numeric_limits<int>::min() &&
                        value.get<long long>() <= kMost
                  : false;
  if (!fits) throw ApiError{400, std::string(name) + " 应是整数。"};
  return static_cast<int>(value.get<long long>());
}

// The block of the query's top, left, bottom and right; at most `most` cells.
Area AskedBlock(const RequestHead& head, long long most = kMostCellsAsked) {
  int top = NumberParam(head, "top"), left = NumberParam(head, "left");
  int bottom = NumberParam(head, "bottom"), right = NumberParam(head, "right");
  if (top < 1 || left < 1 || bottom > kLastRow || right > kLastColumn || top > bottom ||
      left > right) {
    throw ApiError{400, "区域超出了工作表。"};
  }
  Area block{top, left, bottom - top + 1, right - left + 1};
  if (block.Count() > most) throw ApiError{400, "一次最多读取 50000 个单元格。"};
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
    // One "_" for a character the header cannot carry (a control, DEL, one past ASCII),
    // whatever its length in bytes.
    bool continuation = (byte & 0xC0) == 0x80;
    if (!continuation) plain += byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\' ? c : '_';
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

void SendAsset(std::string_view name, HttpAnswer& answer) {
  if (name == "info.png") {
    static const std::string png = EncodePng(InfoPicture());
    answer.type = "image/png";
    answer.body = png;
    return;
  }
  const WebAsset* asset = FindWebAsset(name);
  if (asset == nullptr) {
    answer = ErrorAnswer(404, "没有这个地址。");
    return;
  }
  answer.type = MediaType(name);
  answer.body = asset->bytes;
}

}  // namespace

void Server::AddRoutes() {
  Workbench& w = *bench;
  auto get = [this](std::string path, RouteTable::Handler handler, bool prefix = false) {
    routes.Add({"GET", std::move(path), prefix, 0, std::move(handler)});
  };
  auto post = [this](std::string path, RouteTable::Handler handler, size_t most = kMostJson) {
    routes.Add({"POST", std::move(path), false, most, std::move(handler)});
  };
  get("/",
      [](const RequestHead&, const std::string&, HttpAnswer& a) { SendAsset("index.html", a); });
  get(
      "/assets/",
      [](const RequestHead& head, const std::string&, HttpAnswer& a) {
        SendAsset(std::string_view(head.path).substr(8), a);
      },
      true);

  get("/api/workbook", Json([&w](auto&, auto&, auto&) { return w.Workbook(); }));
  get("/api/layout", Json([&w](const RequestHead& head, auto&, auto&) {
        return w.Layout(NumberParam(head, "sheet"));
      }));
  get("/api/cells", Json([&w](const RequestHead& head, auto&, auto&) {
        return w.Cells(NumberParam(head, "sheet"), AskedBlock(head));
      }));
  // The status bar's sum of a selection, however large: only the cells that hold something
  // are visited.
  get("/api/summary", Json([&w](const RequestHead& head, auto&, auto&) {
        return w.Summary(NumberParam(head, "sheet"),
                         AskedBlock(head, static_cast<long long>(kLastRow) * kLastColumn));
      }));
  get("/api/end", Json([&w](const RequestHead& head, auto&, auto&) {
        return w.End(NumberParam(head, "sheet"), NumberParam(head, "row"),
                     NumberParam(head, "column"), std::string(head.Param("direction")));
      }));
  post("/api/select", Json([&w](auto&, const std::string& body, auto&) {
         nlohmann::json request = Body(body);
         w.Select(IntegerMember(request, "sheet"), request.at("selection").get<std::string>());
         return w.Workbook();
       }));

  get("/api/menu", Json([&w](auto&, auto&, auto&) { return w.Menu(); }));
  post("/api/action", Json([&w](auto&, const std::string& body, auto&) {
         return w.Action(Body(body).at("action").get<std::string>());
       }));

  post("/api/run", Json([&w](auto&, const std::string& body, HttpAnswer& answer) {
         nlohmann::json started = w.StartRun(Body(body));
         answer.status = 202;
         return started;
       }));
  get("/api/run", Json([&w](const RequestHead& head, auto&, auto&) {
        return w.RunStatus(head.Param("wait") == "1");
      }));
  post("/api/cancel", Json([&w](auto&, auto&, auto&) {
         w.Cancel();
         return w.RunStatus(false);
       }));
  post("/api/answer", Json([&w](auto&, const std::string& body, auto&) {
         w.Answer(Body(body));
         return w.RunStatus(false);
       }));

  post("/api/edit", Json([&w](auto&, const std::string& body, auto&) {
         nlohmann::json request = Body(body);
         return w.Edit(IntegerMember(request, "sheet"), request);
       }));
  post("/api/size", Json([&w](auto&, const std::string& body, auto&) {
         nlohmann::json request = Body(body);
         return w.Size(IntegerMember(request, "sheet"), request);
       }));
  post("/api/undo", Json([&w](auto&, auto&, auto&) { return w.Undo(); }));
  post("/api/save",
       Json([&w](auto&, const std::string& body, auto&) { return w.Save(Body(body)); }));
  get("/api/download", [&w](const RequestHead& head, const std::string& body, HttpAnswer& a) {
    try {
      auto [bytes, name] = w.Download();
      a.headers.emplace_back("Content-Disposition", Attachment(name));
      a.type = "application/vnd.openxmlformats-officedocument.spreadsheetml.sheet";
      a.body = std::move(bytes);
    } catch (const ApiError& error) {
      Json([&](auto&, auto&, auto&) -> nlohmann::json { throw error; })(head, body, a);
    }
  });
  post("/api/open", Json([&w](const RequestHead& head, const std::string& body, auto&) {
         // The name comes as a query parameter, decoded once by the HTTP library.
         return w.Open(std::string(head.Param("name")), body);
       }),
       kMostUpload);
}

}  // namespace tavrin

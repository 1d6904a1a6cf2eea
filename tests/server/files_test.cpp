#include "server/server_fixture.h"

namespace tavrin {

namespace {

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST_F(ServerTest, TheFileIsWrittenOnlyBySave) {
  std::string original = Bytes(file);
  Summarise();
  EXPECT_EQ(Bytes(file), original);
  EXPECT_EQ(Post("/api/save", json::object()).body, json({{"saved", "list.xlsx"}}));
  EXPECT_NE(Bytes(file), original);
  EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"list.xlsx"}));
  EXPECT_EQ(Get("/api/workbook").body["dirty"], false);
  Spreadsheet app;
  EXPECT_EQ(OpenWorkbook(app, file).GetSheet(1).Range("G2").Value(), Variant(8.0));
}

TEST_F(ServerTest, SaveAsTakesABareXlsxNameInTheFilesFolder) {
  for (const char* name : {"../x.xlsx", "sub/x.xlsx", "x.csv", ".xlsx", "", "xlsx", "x.xls",
                           "x.xlsxx", "x.xlsx.csv"}) {
    EXPECT_EQ(Post("/api/save", {{"as", name}}).status, 400) << name;
  }
  EXPECT_EQ(Post("/api/save", {{"as", "copy.xlsx"}}).body, json({{"saved", "copy.xlsx"}}));
  // Another file of that name: refused with the word the page asks its question on.
  EXPECT_EQ(Post("/api/save", {{"as", "list.xlsx"}}).body,
            json({{"error", "文件夹中已有“list.xlsx”。"}, {"reason", "exists"}}));
  EXPECT_EQ(Post("/api/save", {{"as", "list.xlsx"}, {"replace", true}}).status, 200);
  EXPECT_EQ(FilesIn(folder), (std::vector<std::string>{"copy.xlsx", "list.xlsx"}));
  EXPECT_EQ(Get("/api/workbook").body["file"], "list.xlsx");
  EXPECT_EQ(Post("/api/save", {{"as", "Upper.XLSX"}}).body, json({{"saved", "Upper.XLSX"}}));
}

TEST_F(ServerTest, SaveAsNeverFollowsALink) {
  std::filesystem::path outside = folder.string() + "-outside";
  std::filesystem::create_directories(outside);
  std::filesystem::create_symlink(outside / "report.xlsx", folder / "report.xlsx");  // dangling
  std::filesystem::create_symlink(file, folder / "same.xlsx");
  std::filesystem::create_directory(folder / "dir.xlsx");
  for (const char* name : {"report.xlsx", "same.xlsx", "dir.xlsx"}) {
    EXPECT_EQ(Post("/api/save", {{"as", name}}).status, 409) << name;
    Answer refused = Post("/api/save", {{"as", name}, {"replace", true}});
    EXPECT_EQ(refused.status, 409) << name;
    EXPECT_FALSE(refused.body.contains("reason")) << name;
  }
  EXPECT_FALSE(std::filesystem::exists(outside / "report.xlsx"));
  EXPECT_TRUE(std::filesystem::is_symlink(folder / "report.xlsx"));
  std::filesystem::remove_all(outside);
}

TEST_F(ServerTest, SaveAsNamesLeaveRoomForTheTemporaryFileAndErrorsShowNoFolder) {
  std::string longest = std::string(247 - 5, 'a') + ".xlsx";
  EXPECT_EQ(Post("/api/save", {{"as", longest}}).status, 200);
  for (size_t size : {248, 250, 255}) {
    Answer refused = Post("/api/save", {{"as", std::string(size - 5, 'b') + ".xlsx"}});
    EXPECT_EQ(refused.status, 400) << size;
    EXPECT_EQ(refused.body.dump().find(folder.string()), std::string::npos) << refused.body;
  }
  // A save that fails tells the file's name, not the folder it is in.
  std::filesystem::path moved = folder.string() + "-moved";
  std::filesystem::rename(folder, moved);
  Answer failed = Post("/api/save", {{"as", "other.xlsx"}});
  std::filesystem::rename(moved, folder);
  EXPECT_EQ(failed.status, 400);
  EXPECT_EQ(failed.body.dump().find(folder.string()), std::string::npos) << failed.body;
  EXPECT_NE(failed.body.dump().find("other.xlsx"), std::string::npos) << failed.body;
}

TEST_F(ServerTest, AnUploadReplacesTheWorkbookUnlessTheReaderRefusesIt) {
  // The name as the page sends it: percent-encoded in the query.
  auto upload = [&](const std::string& encodedName, const std::string& bytes) {
    return Read(client->Post("/api/open?name=" + encodedName, bytes, "application/octet-stream"));
  };
  Answer bad = upload("bad.xlsx", "no workbook");
  EXPECT_EQ(bad.status, 400);
  EXPECT_EQ(bad.body["error"],
            "无法打开“bad.xlsx”：它不是能读的 .xlsx、.xls 或 .csv 工作簿，或者文件已损坏。");
  Raw big(port);
  ASSERT_TRUE(big.Send(Head("POST", "/api/open?name=big.xlsx") +
                       "Content-Length: " + std::to_string(Server::kMostUpload + 1) + "\r\n\r\n"));
  EXPECT_EQ(big.Status(), 413);
  EXPECT_EQ(Get("/api/workbook").body["file"], "list.xlsx");
  EXPECT_EQ(upload("a%2541.xlsx", Bytes(file)).body, json({{"file", "a%41.xlsx"}}));  // once

  Summarise();
  EXPECT_EQ(upload("%E9%94%80%E5%94%AE.xlsx", Bytes(file)).body, json({{"file", "销售.xlsx"}}));
  json workbook = Get("/api/workbook").body;
  EXPECT_EQ(workbook["file"], "销售.xlsx");
  EXPECT_EQ(workbook["canUndo"], false);
  EXPECT_EQ(Text(1, 5), "old");
  EXPECT_EQ(Post("/api/save", json::object()).status, 400);

  auto download = client->Get("/api/download");
  ASSERT_TRUE(download);
  // The client library decodes %XX in the header it reads.
  EXPECT_EQ(download->get_header_value("Content-Disposition"),
            "attachment; filename=\"__.xlsx\"; filename*=UTF-8''销售.xlsx");
  EXPECT_EQ(download->body.substr(0, 2), "PK");
  // As sent: the UTF-8 form percent-encodes all but letters, digits and ". - _".
  Raw raw(port);
  raw.Send(Head("GET", "/api/download") + "\r\n");
  EXPECT_NE(raw.Receive(std::chrono::seconds(5), true)
                .find("filename*=UTF-8''%E9%94%80%E5%94%AE.xlsx\r\n"),
            std::string::npos);
  // A space stays as it is; a quote and the control DEL do not.
  EXPECT_EQ(upload("a%20b-c_d%22%7F.xlsx", Bytes(file)).status, 200);
  Raw spaced(port);
  spaced.Send(Head("GET", "/api/download") + "\r\n");
  EXPECT_NE(spaced.Receive(std::chrono::seconds(5), true)
                .find("filename=\"a b-c_d__.xlsx\"; filename*=UTF-8''a%20b-c_d%22%7F.xlsx\r\n"),
            std::string::npos);

  // A workbook read from a .csv file has no frozen panes to show.
  EXPECT_EQ(upload("list.csv", "Region,Units\nNorth,3\n").body, json({{"file", "list.csv"}}));
  Answer layout = Get("/api/layout?sheet=0");
  EXPECT_EQ(layout.status, 200);
  EXPECT_FALSE(layout.body.contains("frozen"));
}

// A download made with the temporary files' folder set to `temporary`.
httplib::Result DownloadWithTemporaryFolder(httplib::Client& client,
                                            const std::filesystem::path& temporary) {
  const char* tmp = getenv("TMPDIR");
  std::string kept = tmp != nullptr ? tmp : "";
  setenv("TMPDIR", temporary.c_str(), 1);
  auto download = client.Get("/api/download");
  if (tmp != nullptr) {
    setenv("TMPDIR", kept.c_str(), 1);
  } else {
    unsetenv("TMPDIR");
  }
  return download;
}

TEST_F(ServerTest, TheServersTemporaryFilesGoWithIt) {
  std::filesystem::create_directories(folder / "tmp");
  auto download = DownloadWithTemporaryFolder(*client, folder / "tmp");
  ASSERT_TRUE(download);
  EXPECT_EQ(download->status, 200);
  EXPECT_FALSE(std::filesystem::is_empty(folder / "tmp"));
  StopServer();
  EXPECT_TRUE(std::filesystem::is_empty(folder / "tmp"));
}

TEST_F(ServerTest, AServerFailureSaysWhatFailedAndNothingOfTheServersInsides) {
  // No folder for the download's temporary file: the server's own failure, a 500.
  auto download = DownloadWithTemporaryFolder(*client, folder / "missing");
  ASSERT_TRUE(download);
  EXPECT_EQ(download->status, 500);
  EXPECT_EQ(json::parse(download->body), json({{"error", "无法建立临时文件夹。"}}));
  EXPECT_FALSE(download->has_header("EXCEPTION_WHAT"));
  for (const auto& [name, value] : download->headers) {
    EXPECT_EQ(value.find(folder.string()), std::string::npos) << name;
  }
}

}  // namespace

}  // namespace tavrin

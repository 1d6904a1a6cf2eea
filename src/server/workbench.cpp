#include "server/workbench.h"

#include <stdlib.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>

#include "host/host_error.h"
#include "io/workbook_file.h"
#include "server/api_error.h"
#include "server/dialogs.h"
#include "server/menu_view.h"
#include "server/sheet_views.h"
#include "session/dialog_form.h"
#include "session/workbook_session.h"
#include "spreadsheet/book.h"
#include "spreadsheet/book_copy.h"
#include "spreadsheet/sheet.h"
#include "tools/tool_table.h"

namespace tavrin {

namespace {

using Lock = std::unique_lock<std::mutex>;
namespace fs = std::filesystem;

constexpr auto kLongestWait = std::chrono::seconds(1);

const char* FormStateName(const DialogForm* form) {
  if (form == nullptr) return "unloaded";
  switch (form->GetState()) {
    case DialogForm::State::Shown:
      return "shown";
    case DialogForm::State::Hidden:
      return "hidden";
    default:
      return "unloaded";
  }
}

// A file name alone: no folder, not hidden, not empty.
bool IsBareName(const std::string& name) {
  return !name.empty() && name.size() <= 255 && name.front() != '.' &&
         name.find_first_of(std::string("/\\\0", 3)) == std::string::npos;
}

// The longest name Save As takes: the temporary file written beside it first, "." NAME
// ".XXXXXX", must fit the system's 255 bytes too.
constexpr size_t kLongestSaveName = 255 - 8;

bool EndsWithXlsx(std::string name) {
  for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return name.ends_with(".xlsx");
}

}  // namespace

Workbench::Workbench(fs::path path, const std::string& encoding)
    : file(std::move(path)), folder(file.parent_path()), shownName(file.filename().string()) {
  session = std::make_unique<WorkbookSession>(
      runtime, [&](Spreadsheet& app) -> Book& { return OpenWorkbook(app, file, encoding); });
  ConnectToThePage();
}

// The host's input box for a range is a question to the page, as a message box is; between its
// operations, a long run lets the page read the workbook.
void Workbench::ConnectToThePage() {
  // The browser tests slow a run's steps down to watch its progress and cancel it.
  if (const char* pause = getenv("TAVRIN_STEP_PAUSE_MS"))
    channel.SetStepPause(std::chrono::milliseconds(atoi(pause)));
  session->App().SetInputAnswerer([this](const std::string& prompt, const std::string& title) {
    return channel.AskRange(prompt, title);
  });
  session->App().SetBetweenOperations([this] { channel.Breathe(); });
}

Workbench::~Workbench() {
  {
    Lock lock(channel.Mutex());
    channel.Close();
  }
  if (runner.joinable()) runner.join();
  std::error_code ignored;
  if (!scratch.empty()) fs::remove_all(scratch, ignored);
}

Book& Workbench::UserBook() {
  return session->UserBook();
}

Sheet& Workbench::SheetAt(int index) {
  if (index < 0 || index >= UserBook().SheetCount()) throw ApiError{400, "没有这个工作表。"};
  return UserBook().GetSheet(index + 1);
}

const fs::path& Workbench::Scratch() {
  if (scratch.empty()) {
    const char* tmp = getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/tavrin-serve-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) throw ApiError{500, "无法建立临时文件夹。"};
    scratch = pattern;
  }
  return scratch;
}

nlohmann::json Workbench::Workbook() {
  Lock lock(channel.Mutex());
  Book& book = UserBook();
  Sheet& active = book.GetActiveSheet();
  int activeIndex = 0;
  for (int i = 1; i <= book.SheetCount(); ++i) {
    if (&book.GetSheet(i) == &active) activeIndex = i - 1;
  }
  return {{"file", shownName},
          {"sheets", SheetList(book)},
          {"active", activeIndex},
          {"selection", SelectionText(active)},
          {"canUndo", !undoSteps.empty()},
          {"dirty", dirty},
          {"running", channel.Going()}};
}

nlohmann::json Workbench::Layout(int sheet) {
  Lock lock(channel.Mutex());
  return LayoutOf(SheetAt(sheet));
}

nlohmann::json Workbench::Cells(int sheet, const Area& block) {
  Lock lock(channel.Mutex());
  Sheet& shown = SheetAt(sheet);
  auto marked = changed.find(shown.Name());
  return CellsOf(shown, block, marked == changed.end() ? nullptr : &marked->second);
}

nlohmann::json Workbench::Summary(int sheet, const Area& block) {
  Lock lock(channel.Mutex());
  return SelectionSummary(SheetAt(sheet), block);
}

void Workbench::Select(int sheet, const std::string& selection) {
  Lock lock(channel.Mutex());
  if (channel.Going()) throw RunGoing();
  Sheet& chosen = SheetAt(sheet);
  chosen.Activate();
  try {
    chosen.Range(selection).Select();
  } catch (const HostError&) {
    throw ApiError{400, "“" + selection + "”不是这个工作表上的地址。"};
  }
}

nlohmann::json Workbench::Menu() {
  Lock lock(channel.Mutex());
  return MenuOf(session->App());
}

void Workbench::RemoveTools() {
  RemoveMenuAndToolbar(session->App());
  toolsRemoved = true;
}

nlohmann::json Workbench::Action(const std::string& action) {
  Lock lock(channel.Mutex());
  if (channel.Going()) throw RunGoing();
  std::string macro = action.substr(action.rfind('!') + 1);
  if (nlohmann::json dialog = DialogOf(macro); !dialog.is_null()) return {{"dialog", dialog}};
  if (macro == "BbbThing") {
    session->Host().Component().CSH();
    // Initialisation brings the host workbook forward; the user goes back to their own.
    UserBook().Activate();
    toolsRemoved = false;
    return {{"menuChanged", true}};
  }
  if (macro == "QuitTools") {
    RemoveTools();
    return {{"menuChanged", true}};
  }
  if (macro == "MyHelp") return {{"help", HelpHtml()}};
  if (macro == "MyInfo") return {{"about", AboutWindow()}};
  throw ApiError{400, "没有这个命令：" + action};
}

nlohmann::json Workbench::StartRun(const nlohmann::json& request) {
  Lock lock(channel.Mutex());
  if (channel.Going()) throw RunGoing();
  if (!request.is_object() || !request.contains("tool") || !request["tool"].is_string()) {
    throw ApiError{400, "请求中缺少工具名（tool）。"};
  }
  const ToolDefinition* tool = FindTool(request["tool"].get<std::string>());
  if (tool == nullptr) throw ApiError{400, "没有这个工具：" + request["tool"].dump()};
  auto filled = std::make_unique<DialogForm>();
  FillForm(*filled, request.value("controls", nlohmann::json()));
  // The previous run's thread has let go of the lock for good: it ends at once.
  if (runner.joinable()) runner.join();
  form = std::move(filled);
  before = std::make_unique<BookCopy>(UserBook());
  changed.clear();
  changedAreas.clear();
  runtime.ForgetFailureReport();
  channel.Begin();
  runner = std::thread([this, tool] { Run(*tool); });
  return {{"state", "running"}};
}

// The run's thread: works holding the lock, as the command does, and lets go of it only while
// the page answers a question.
void Workbench::Run(const ToolDefinition& tool) {
  Lock lock(channel.Mutex());
  channel.SetRunnerLock(&lock);
  RunState ended = RunState::Finished;
  std::string reached;
  HostSession& host = session->Host();
  try {
    (host.Component().*tool.run)(host.Token(), *form);
  } catch (const RunCancelled&) {
    ended = RunState::Cancelled;
  } catch (const HostError& error) {
    reached = std::to_string(error.Number()) + " " + error.Description();
  } catch (const std::exception& error) {
    reached = error.what();
  }
  channel.SetRunnerLock(nullptr);
  if (ended == RunState::Cancelled) {
    PutBack();
    channel.End(ended);
    return;
  }
  if (!reached.empty() || runtime.FailureReportShown()) {
    ended = RunState::Failed;
  } else if (!host.Component().RunFinished()) {
    ended = RunState::Stopped;
  }
  NoteChanges();
  channel.End(ended, std::move(reached));
}

// A cancelled run leaves the workbook, and the host's events and screen, as it found them.
void Workbench::PutBack() {
  before->Restore();
  before.reset();
  session->App().SetEnableEvents(true);
  session->App().SetScreenUpdating(true);
}

void Workbench::Cancel() {
  Lock lock(channel.Mutex());
  channel.Cancel();
}

// A run that changed cells becomes the one Undo takes back.
void Workbench::NoteChanges() {
  changed = CompareWithCopy(*before, UserBook());
  changedAreas = ChangedAreas(changed);
  bool sheetsAdded = before->Sheets().size() != static_cast<size_t>(UserBook().SheetCount());
  if (changed.empty() && !sheetsAdded) {
    before.reset();
    return;
  }
  // As in the host, a run leaves nothing before it to undo but itself.
  undoSteps.clear();
  undoSteps.push_back({.run = std::move(before), .dirtyBefore = dirty});
  dirty = true;
}

nlohmann::json Workbench::RunStatus(bool wait) {
  Lock lock(channel.Mutex());
  if (wait) channel.WaitWhileRunning(lock, kLongestWait);
  nlohmann::json status;
  channel.Describe(status);
  status["form"] = FormStateName(form.get());
  status["changed"] = changedAreas;
  return status;
}

void Workbench::Answer(const nlohmann::json& answer) {
  Lock lock(channel.Mutex());
  channel.Answer(answer);
}

nlohmann::json Workbench::Undo() {
  Lock lock(channel.Mutex());
  if (channel.Going()) throw RunGoing();
  if (undoSteps.empty()) throw ApiError{409, "没有可以撤销的操作。"};
  UndoStep step = std::move(undoSteps.back());
  undoSteps.pop_back();
  if (step.run) step.run->Restore();
  if (step.edit) step.edit->Restore();
  if (step.size) step.size->Restore();
  changed.clear();
  changedAreas.clear();
  dirty = step.dirtyBefore;
  return {{"canUndo", !undoSteps.empty()}};
}

nlohmann::json Workbench::Save(const nlohmann::json& request) {
  Lock lock(channel.Mutex());
  if (channel.Going()) throw RunGoing();
  fs::path target = file;
  if (request.is_object() && request.contains("as")) {
    std::string name = request["as"].is_string() ? request["as"].get<std::string>() : "";
    if (!IsBareName(name) || name.size() > kLongestSaveName || !EndsWithXlsx(name)) {
      throw ApiError{400, "另存为只接受以 .xlsx 结尾、不超过 247 字节的文件名，不含文件夹。"};
    }
    target = folder / name;
    std::error_code error;
    // A link is never written through, wherever it leads (or would lead once made).
    fs::file_status found = fs::symlink_status(target, error);
    if (fs::is_symlink(found) || (fs::exists(found) && !fs::is_regular_file(found))) {
      throw ApiError{409, "“" + name + "”不是普通文件，另存为不写入它。"};
    }
    bool replacing = request.value("replace", false);
    if (fs::exists(target, error) && !(!file.empty() && fs::equivalent(target, file, error)) &&
        !replacing) {
      throw ApiError{409, "文件夹中已有“" + name + "”。", "exists"};
    }
  } else if (file.empty()) {
    throw ApiError{400, "上传的工作簿请用“另存为”保存。"};
  }
  try {
    SaveWorkbook(UserBook(), target);
  } catch (const FileError&) {
    throw ApiError{
        400, "无法保存“" + target.filename().string() + "”：请检查文件夹能否写入、磁盘是否已满。"};
  }
  file = target;
  shownName = target.filename().string();
  dirty = false;
  // Every state an undo goes back to now differs from the file.
  for (UndoStep& step : undoSteps) step.dirtyBefore = true;
  return {{"saved", shownName}};
}

std::pair<std::string, std::string> Workbench::Download() {
  Lock lock(channel.Mutex());
  if (channel.Going()) throw RunGoing();
  fs::path written = Scratch() / "download.xlsx";
  try {
    SaveWorkbook(UserBook(), written);
  } catch (const FileError&) {
    throw ApiError{500, "无法生成要下载的工作簿。"};
  }
  std::ifstream in(written, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::error_code ignored;
  fs::remove(written, ignored);
  return {std::move(bytes), fs::path(shownName).stem().string() + ".xlsx"};
}

nlohmann::json Workbench::Open(const std::string& fileName, const std::string& bytes) {
  Lock lock(channel.Mutex());
  if (channel.Going()) throw RunGoing();
  if (!IsBareName(fileName)) throw ApiError{400, "文件名不合适：" + fileName};
  fs::path uploaded = Scratch() / fileName;
  {
    std::ofstream out(uploaded, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw ApiError{500, "无法保存上传的文件。"};
  }
  std::unique_ptr<WorkbookSession> opened;
  std::string refused;
  try {
    opened = std::make_unique<WorkbookSession>(
        runtime, [&](Spreadsheet& app) -> Book& { return OpenWorkbook(app, uploaded); });
  } catch (const FileError&) {
    // The readers' reasons are the command line's English; the page says it in its own words.
    refused =
        "无法打开“" + fileName + "”：它不是能读的 .xlsx、.xls 或 .csv 工作簿，或者文件已损坏。";
  } catch (const HostError& error) {
    refused = std::to_string(error.Number()) + " " + error.Description();
  }
  std::error_code ignored;
  fs::remove(uploaded, ignored);
  if (!opened) {
    runtime.SetRunningApplication(session->App());
    throw ApiError{400, refused};
  }
  if (runner.joinable()) runner.join();
  form.reset();
  before.reset();
  session = std::move(opened);
  ConnectToThePage();
  if (toolsRemoved) RemoveTools();
  file.clear();
  shownName = fileName;
  undoSteps.clear();
  changed.clear();
  changedAreas.clear();
  dirty = false;
  channel.Forget();
  return {{"file", shownName}};
}

}  // namespace tavrin

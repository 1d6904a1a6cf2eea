#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <nlohmann/json_fwd.hpp>

#include "host/address.h"
#include "server/browser_runtime.h"
#include "server/changed_cells.h"
#include "server/run_channel.h"
#include "spreadsheet/cells_before.h"
#include "spreadsheet/size_before.h"

namespace tavrin {

class Book;
class BookCopy;
class DialogForm;
class Sheet;
class WorkbookSession;
struct ToolDefinition;

// What the server serves: one workbook open beside the host workbook and the component, the
// run going or last made, the steps that undo the last run and the edits since, and the
// file it came from. Every member takes the one lock of the run channel; a refusal is an
// ApiError.
class Workbench {
 public:
  // Opens FILE as the tool commands do (FileError when it cannot be read; HostError when the
  // host workbook cannot be opened beside it).
  explicit Workbench(std::filesystem::path file, const std::string& encoding = {});
  // A question still open gets its default; the run's thread is waited for. Nothing is written.
  ~Workbench();

  nlohmann::json Workbook();
  nlohmann::json Layout(int sheet);
  nlohmann::json Cells(int sheet, const Area& block);
  // {"count":4,"numbers":3,"sum":"102","average":"34"} of a block (sum and average only when
  // it holds numbers).
  nlohmann::json Summary(int sheet, const Area& block);
  void Select(int sheet, const std::string& selection);
  // Where Ctrl+Arrow goes from a cell: the edge of the data that way ("up", "down", "left",
  // "right"), as Range.End gives it: {"r":..,"c":..}.
  nlohmann::json End(int sheet, int row, int column, const std::string& direction);

  nlohmann::json Menu();
  nlohmann::json Action(const std::string& action);

  nlohmann::json StartRun(const nlohmann::json& request);
  nlohmann::json RunStatus(bool wait);
  void Answer(const nlohmann::json& answer);
  // The run going stops at its next step and the workbook is put back as it found it.
  void Cancel();

  // Cells typed or pasted on a sheet, {"at":"B2","rows":[["12.5","=B1*2"]]}, each text taken as
  // the host takes a typed entry, or a block cleared, {"clear":"A1:C9"}, or a block moved as a
  // cut and paste moves it, {"move":"A1:B3","to":"D5"} (formulas that refer to it follow):
  // one undo step, and the workbook changed.
  nlohmann::json Edit(int sheet, const nlohmann::json& request);
  // A column's width or a row's height set, {"column":3,"width":12.5} or {"row":5,
  // "height":30}, or fitted to its cells, {"column":3,"fit":true}; saved with the workbook.
  nlohmann::json Size(int sheet, const nlohmann::json& request);
  nlohmann::json Undo();
  nlohmann::json Save(const nlohmann::json& request);
  // The workbook as .xlsx bytes, and the file name to offer for them.
  std::pair<std::string, std::string> Download();
  // An uploaded workbook in place of the open one; a file the readers refuse leaves everything
  // as it was.
  nlohmann::json Open(const std::string& fileName, const std::string& bytes);

 private:
  void Run(const ToolDefinition& tool);
  void NoteChanges();
  void PutBack();
  void RemoveTools();
  void ConnectToThePage();
  Book& UserBook();
  Sheet& SheetAt(int index);
  // A folder of the server's own for files it writes on the way (made when first needed).
  const std::filesystem::path& Scratch();

  RunChannel channel;
  BrowserRuntime runtime{channel};
  std::unique_ptr<WorkbookSession> session;
  std::filesystem::path file;    // empty after an upload, until Save As names one
  std::filesystem::path folder;  // where Save As writes
  std::string shownName;         // the workbook's file name, as the page shows it
  std::filesystem::path scratch;

  std::unique_ptr<DialogForm> form;
  std::unique_ptr<BookCopy> before;  // the workbook as the run going found it
  // One step of undo: the workbook before a run, a block's cells before an edit, or a column's
  // or row's size before a resize, and whether the workbook differed from its file then.
  struct UndoStep {
    std::unique_ptr<BookCopy> run = nullptr;
    std::unique_ptr<CellsBefore> edit = nullptr;
    std::unique_ptr<SizeBefore> size = nullptr;
    bool dirtyBefore = false;
  };
  void AddUndoStep(UndoStep step);
  std::vector<UndoStep> undoSteps;
  ChangedCells changed;
  std::vector<std::string> changedAreas;
  bool dirty = false;
  bool toolsRemoved = false;
  std::thread runner;
};

}  // namespace tavrin

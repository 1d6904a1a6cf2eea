#pragma once

#include <benchmark/benchmark.h>

#include <memory>
#include <sstream>
#include <string>

#include "cli/terminal_runtime.h"
#include "session/dialog_form.h"
#include "session/host_session.h"
#include "spreadsheet/book.h"
#include "spreadsheet/sheet.h"
#include "spreadsheet/spreadsheet.h"

namespace tavrin {

// A user's workbook "List.xlsx" whose sheet "List" holds a block from a cell, the host
// workbook and the component, as the command line sets them up; questions are answered Yes.
struct ToolRun {
  Spreadsheet app;
  std::ostringstream messages;
  TerminalRuntime runtime{messages, Answering::Yes, false};
  Book& book = app.AddWorkbook("List.xlsx");
  Sheet& sheet = book.AddSheet("List");
  std::unique_ptr<HostSession> session;
  DialogForm form;

  explicit ToolRun(const Block& block, const char* at = "A1") {
    sheet.Range(at).Resize(block.Rows(), block.Columns()).SetValues(block);
    runtime.SetRunningApplication(app);
    session = std::make_unique<HostSession>(app, runtime);
    book.Activate();
  }
  Korvel& component() { return session->Component(); }
  std::string Token() { return session->Token(); }
};

// Runs the tool on a fresh workbook each time; only the tool is timed. A failure report
// marks the run as failed.
template <class Prepare, class Run>
void Timed(benchmark::State& state, Prepare prepare, Run run) {
  for (auto _ : state) {
    state.PauseTiming();
    std::unique_ptr<ToolRun> setup = prepare();
    state.ResumeTiming();
    run(*setup);
    state.PauseTiming();
    if (setup->messages.str().find("未知错误") != std::string::npos) {
      state.SkipWithError(setup->messages.str().c_str());
      break;
    }
    setup.reset();
    state.ResumeTiming();
  }
}

}  // namespace tavrin

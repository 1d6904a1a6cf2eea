#include "io/rows_ahead.h"

#include <pugixml.hpp>

#include <array>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace tavrin {

namespace {

// Rows a batch holds, and batches in flight: enough that the threads seldom wake each other (a
// wake-up costs the kernel more than a row), few enough to hold a few MB at most.
constexpr size_t kBatchRows = 1024;
constexpr size_t kBatches = 4;
// Below this much XML the rows are scanned on the caller's thread: a second one would not pay.
constexpr size_t kAheadFrom = size_t{1} << 20;

}  // namespace

struct RowsAhead::Batch {
  // Grown as rows come, up to kBatchRows, so a small sheet takes room for its own rows only.
  std::vector<RowXml> rows;
  // Where each row left to the parser is parsed: its texts point there until the batch is filled
  // again.
  std::vector<std::unique_ptr<pugi::xml_document>> documents;
  size_t count = 0;
  bool last = false;
  std::exception_ptr failure;

  void Fill(SheetRows& source) {
    count = 0;
    last = false;
    failure = nullptr;
    try {
      for (; count < kBatchRows; ++count) {
        if (count == rows.size()) {
          rows.emplace_back();
          documents.push_back(std::make_unique<pugi::xml_document>());
        }
        if (!source.Next(rows[count], *documents[count])) {
          last = true;
          return;
        }
      }
    } catch (...) {
      failure = std::current_exception();
      last = true;
    }
  }
};

// The batches, filled in turn by the scanning thread (or by the caller for a small sheet) and
// taken in the same order.
struct RowsAhead::Scanner {
  SheetRows source;
  std::array<Batch, kBatches> batches;
  std::mutex lock;
  std::condition_variable changed;
  std::deque<Batch*> filled;
  std::deque<Batch*> empty;
  bool stopping = false;
  std::thread thread;

  Scanner(SheetRows rows, bool ahead) : source(std::move(rows)) {
    for (Batch& batch : batches) empty.push_back(&batch);
    if (ahead) thread = std::thread([this] { Scan(); });
  }
  ~Scanner() {
    if (!thread.joinable()) return;
    {
      std::lock_guard<std::mutex> hold(lock);
      stopping = true;
    }
    changed.notify_all();
    thread.join();
  }

  void Scan() {
    for (;;) {
      Batch* batch = nullptr;
      {
        std::unique_lock<std::mutex> hold(lock);
        changed.wait(hold, [&] { return stopping || !empty.empty(); });
        if (stopping) return;
        batch = empty.front();
        empty.pop_front();
      }
      batch->Fill(source);
      {
        std::lock_guard<std::mutex> hold(lock);
        filled.push_back(batch);
      }
      changed.notify_all();
      if (batch->last) return;
    }
  }

  // Gives a taken batch back and returns the next one.
  Batch* Exchange(Batch* taken) {
    if (!thread.joinable()) {
      Batch* batch = taken != nullptr ? taken : &batches.front();
      batch->Fill(source);
      return batch;
    }
    std::unique_lock<std::mutex> hold(lock);
    if (taken != nullptr) empty.push_back(taken);
    changed.notify_all();
    changed.wait(hold, [&] { return !filled.empty(); });
    Batch* batch = filled.front();
    filled.pop_front();
    return batch;
  }
};

RowsAhead::RowsAhead(std::string_view sheetData, const std::string& part)
    : scanner_(
          std::make_unique<Scanner>(SheetRows(sheetData, part), sheetData.size() >= kAheadFrom)) {}

RowsAhead::RowsAhead(ArrivingPart arriving, size_t from, const std::string& part)
    : scanner_(std::make_unique<Scanner>(SheetRows(std::move(arriving), from, part), true)) {}

RowsAhead::~RowsAhead() = default;

const RowXml* RowsAhead::Next() {
  while (batch_ == nullptr || taken_ == batch_->count) {
    if (batch_ != nullptr && batch_->failure) std::rethrow_exception(batch_->failure);
    if (batch_ != nullptr && batch_->last) return nullptr;
    batch_ = scanner_->Exchange(batch_);
    taken_ = 0;
  }
  return &batch_->rows[taken_++];
}

}  // namespace tavrin

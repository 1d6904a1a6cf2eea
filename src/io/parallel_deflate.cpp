#include "io/parallel_deflate.h"

#include <isa-l/crc.h>
#include <isa-l/igzip_lib.h>
#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "io/file_error.h"

namespace tavrin {

namespace {

constexpr size_t kWindow = size_t{32} << 10;

uint32_t Crc(uint32_t crc, std::string_view bytes) {
  return crc32_gzip_refl(crc, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
}

}  // namespace

// A raw deflate stream, made again for every block: ISA-L's deflate, which on these machines
// makes a sheet's XML some four times as fast as zlib's fastest level and a little smaller.
// Levels 0 and 1 are its fast ones; a higher level asks for 1.
class ParallelDeflate::Deflater {
 public:
  explicit Deflater(int level) : level_(level <= 0 ? 0 : 1), work_(level_ ? kLevel1Room : 0) {}
  Deflater(const Deflater&) = delete;
  Deflater& operator=(const Deflater&) = delete;

  // Deflates a block primed with the bytes before it and appends it to out: ended on a byte
  // boundary, or, for the last block, ending the stream. A block is at most a few MB.
  void Block(std::string_view dictionary, std::string_view input, bool last, std::string& out) {
    isal_deflate_init(&z_);
    z_.level = level_;
    z_.level_buf = work_.data();
    z_.level_buf_size = static_cast<uint32_t>(work_.size());
    if (isal_deflate_set_dict(&z_, reinterpret_cast<uint8_t*>(const_cast<char*>(dictionary.data())),
                              static_cast<uint32_t>(dictionary.size())) != COMP_OK)
      throw FormatError("cannot compress the archive");
    z_.next_in = reinterpret_cast<uint8_t*>(const_cast<char*>(input.data()));
    z_.avail_in = static_cast<uint32_t>(input.size());
    z_.end_of_stream = last ? 1 : 0;
    z_.flush = last ? NO_FLUSH : SYNC_FLUSH;
    // Stored blocks at worst, and the headers.
    size_t room = input.size() + input.size() / 16 + 1024;
    // Until all is in and flushed: the stream ended, or room left over.
    do {
      size_t at = out.size();
      out.resize(at + room);
      z_.next_out = reinterpret_cast<uint8_t*>(out.data() + at);
      z_.avail_out = static_cast<uint32_t>(room);
      int status = isal_deflate(&z_);
      out.resize(at + room - z_.avail_out);
      if (status != COMP_OK) throw FormatError("cannot compress the archive");
      room = size_t{1} << 16;
    } while (z_.avail_in > 0 || (last ? z_.internal_state.state != ZSTATE_END : z_.avail_out == 0));
  }

 private:
  static constexpr size_t kLevel1Room = ISAL_DEF_LVL1_DEFAULT;
  isal_zstream z_{};
  uint32_t level_;
  std::vector<uint8_t> work_;
};

struct ParallelDeflate::Job {
  std::string dictionary;
  std::string input;
  bool last = false;
  std::string output;
  uint32_t crc = 0;
  std::exception_ptr failure;
  bool done = false;
};

// Threads taking the blocks in the order given; the blocks in flight, oldest first.
struct ParallelDeflate::Workers {
  std::mutex lock;
  std::condition_variable queued;
  std::condition_variable finished;
  std::deque<Job*> waiting;
  std::deque<std::unique_ptr<Job>> inFlight;
  bool stopping = false;
  std::vector<std::thread> threads;

  explicit Workers(int level) {
    unsigned count = std::clamp(std::thread::hardware_concurrency(), 1u, 4u);
    for (unsigned i = 0; i < count; ++i) threads.emplace_back([this, level] { Work(level); });
  }
  ~Workers() {
    {
      std::lock_guard<std::mutex> hold(lock);
      stopping = true;
    }
    queued.notify_all();
    for (std::thread& thread : threads) thread.join();
  }

  void Work(int level) {
    std::unique_ptr<Deflater> deflater;
    std::unique_lock<std::mutex> hold(lock);
    for (;;) {
      queued.wait(hold, [&] { return stopping || !waiting.empty(); });
      if (waiting.empty()) return;
      Job& job = *waiting.front();
      waiting.pop_front();
      hold.unlock();
      try {
        if (!deflater) deflater = std::make_unique<Deflater>(level);
        deflater->Block(job.dictionary, job.input, job.last, job.output);
        job.crc = Crc(0, job.input);
      } catch (...) {
        job.failure = std::current_exception();
      }
      hold.lock();
      job.done = true;
      finished.notify_all();
    }
  }

  // Enough for every thread to have one block and the next ready.
  size_t MostInFlight() const { return 2 * threads.size(); }
};

ParallelDeflate::ParallelDeflate(int level) : level_(level), crc_(Crc(0, {})) {}

ParallelDeflate::~ParallelDeflate() = default;

void ParallelDeflate::Add(std::string block, std::string& out) {
  ++blocks_;
  std::string_view input = block;
  std::string dictionary = std::exchange(
      tail_, std::string(input.substr(input.size() - std::min(input.size(), kWindow))));
  if (Queue(std::move(dictionary), std::move(block), false) > workers_->MostInFlight())
    TakeOldest(out);
}

size_t ParallelDeflate::Queue(std::string dictionary, std::string input, bool last) {
  if (!workers_) workers_ = std::make_unique<Workers>(level_);
  auto job = std::make_unique<Job>();
  job->dictionary = std::move(dictionary);
  job->input = std::move(input);
  job->last = last;
  size_t inFlight = 0;
  {
    std::lock_guard<std::mutex> hold(workers_->lock);
    workers_->waiting.push_back(job.get());
    workers_->inFlight.push_back(std::move(job));
    inFlight = workers_->inFlight.size();
  }
  workers_->queued.notify_one();
  return inFlight;
}

void ParallelDeflate::TakeOldest(std::string& out) {
  std::unique_ptr<Job> job;
  {
    std::unique_lock<std::mutex> hold(workers_->lock);
    workers_->finished.wait(hold, [&] { return workers_->inFlight.front()->done; });
    job = std::move(workers_->inFlight.front());
    workers_->inFlight.pop_front();
  }
  if (job->failure) std::rethrow_exception(job->failure);
  out += job->output;
  crc_ =
      static_cast<uint32_t>(crc32_combine(crc_, job->crc, static_cast<z_off_t>(job->input.size())));
}

uint32_t ParallelDeflate::Finish(std::string_view last, std::string& out) {
  if (blocks_ == 0) {
    if (!alone_) alone_ = std::make_unique<Deflater>(level_);
    alone_->Block({}, last, true, out);
    return Crc(0, last);
  }
  Queue(std::exchange(tail_, {}), std::string(last), true);
  for (;;) {
    {
      std::lock_guard<std::mutex> hold(workers_->lock);
      if (workers_->inFlight.empty()) break;
    }
    TakeOldest(out);
  }
  blocks_ = 0;
  return std::exchange(crc_, Crc(0, {}));
}

}  // namespace tavrin

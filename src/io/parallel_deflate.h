#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace tavrin {

// One raw deflate stream made of blocks deflated side by side on worker threads. Each block is
// deflated on its own, primed with the 32 KB before it, and ends on a byte boundary, so the
// pieces joined in order are a single stream that any inflater reads, compressed as well as if
// it had been made in one piece. A stream of one block is deflated on the caller's thread and
// starts no thread.
class ParallelDeflate {
 public:
  explicit ParallelDeflate(int level);
  ~ParallelDeflate();
  ParallelDeflate(const ParallelDeflate&) = delete;
  ParallelDeflate& operator=(const ParallelDeflate&) = delete;

  // The next block of the stream. What blocks before it have become is appended to out, in
  // order; while too many blocks are waiting, this waits for the oldest.
  void Add(std::string block, std::string& out);
  // Ends the stream with its last bytes and appends the rest of it to out; the CRC-32 of all the
  // stream's bytes. The next Add starts a new stream. A worker's failure is thrown here or by Add,
  // after which the stream is only fit to be dropped.
  uint32_t Finish(std::string_view last, std::string& out);

 private:
  class Deflater;
  struct Job;
  struct Workers;
  // Hands a block to the workers; how many blocks are then in flight.
  size_t Queue(std::string dictionary, std::string input, bool last);
  // Appends the oldest block's output to out, waiting for it.
  void TakeOldest(std::string& out);

  int level_;
  std::unique_ptr<Workers> workers_;
  std::unique_ptr<Deflater> alone_;  // for a stream of one block, on the caller's thread
  std::string tail_;                 // the last 32 KB given, the next block's dictionary
  uint32_t crc_;
  size_t blocks_ = 0;  // given to the stream so far
};

}  // namespace tavrin

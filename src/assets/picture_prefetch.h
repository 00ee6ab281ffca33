#pragma once
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "assets/texture_pixels.h"

// A picture a loading will ask for, in the form it will ask for it.
struct PictureRequest {
  std::string file;
  RowOrder order = RowOrder::BottomFirst;
  bool mirrored = false;
  // Handed out as a copy every time it is asked for, and held until the
  // prefetch ends: for a picture that is loaded again and again.
  bool kept = false;
};

// Decodes a list of pictures on worker threads ahead of the loading that
// asks for them, so that the thread holding the GL context only uploads.
// Each worker decodes with its own decoder. What comes out is what
// decodeJpegPicture gives; a damaged picture is not reported here, but by
// whoever takes it (reportPictureDamage), so the log keeps the load order.
//
// Each request is handed out once (a kept one as often as asked). Whatever
// is not taken is freed when the prefetch ends: the destructor lets the
// decodes under way finish, drops those not started and joins the workers.
class PicturePrefetch {
 public:
  // `threads` 0: one per hardware thread but one, at least one. Never more
  // than there are pictures; where no thread can be started, take()
  // decodes every picture itself.
  explicit PicturePrefetch(std::vector<PictureRequest> requests, unsigned threads = 0);
  ~PicturePrefetch();
  PicturePrefetch(const PicturePrefetch&) = delete;
  PicturePrefetch& operator=(const PicturePrefetch&) = delete;

  // The picture asked for as (file, order, mirrored): waits while a worker
  // decodes it, decodes it on the calling thread when no worker has
  // started it yet, and is empty when it was not asked for or has been
  // taken already.
  std::optional<PictureRead> take(const std::string& file, RowOrder order, bool mirrored = false);

  // Requests never handed out.
  std::size_t untaken() const;
  std::size_t workerCount() const { return workers_.size(); }

 private:
  enum class State { Queued, Decoding, Ready, Taken };
  struct Entry {
    PictureRequest request;
    State state = State::Queued;
    bool handedOut = false;
    PictureRead read;
  };

  void work();
  // Claims a queued entry and decodes it outside the lock.
  void decode(Entry& entry, std::unique_lock<std::mutex>& lock);
  std::optional<PictureRead> handOut(Entry& entry);

  mutable std::mutex mutex_;
  std::condition_variable decoded_;
  std::vector<Entry> entries_;  // never resized once made: workers hold references
  std::size_t next_ = 0;        // entries before it have been claimed
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

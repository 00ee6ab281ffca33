#include "assets/picture_prefetch.h"

#include <algorithm>
#include <system_error>
#include <utility>

PicturePrefetch::PicturePrefetch(std::vector<PictureRequest> requests, unsigned threads) {
  entries_.resize(requests.size());
  for (std::size_t i = 0; i < requests.size(); ++i) entries_[i].request = std::move(requests[i]);
  if (threads == 0) {
    // The thread that takes the pictures keeps a core of its own: it draws
    // the loading frames and uploads while the workers decode.
    const unsigned hardware = std::thread::hardware_concurrency();
    threads = hardware > 1 ? hardware - 1 : 1;
  }
  const std::size_t count = std::min<std::size_t>(threads, entries_.size());
  for (std::size_t i = 0; i < count; ++i) {
    try {
      workers_.emplace_back([this] { work(); });
    } catch (const std::system_error&) {
      break;  // fewer workers; take() decodes whatever none of them reaches
    }
  }
}

PicturePrefetch::~PicturePrefetch() {
  {
    const std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  for (std::thread& worker : workers_) worker.join();
}

void PicturePrefetch::decode(Entry& entry, std::unique_lock<std::mutex>& lock) {
  entry.state = State::Decoding;
  const PictureRequest& request = entry.request;  // nobody writes it while it decodes
  lock.unlock();
  PictureRead read = decodeJpegPicture(request.file, request.order, request.mirrored);
  lock.lock();
  entry.read = std::move(read);
  entry.state = State::Ready;
  decoded_.notify_all();
}

void PicturePrefetch::work() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    while (next_ < entries_.size() && entries_[next_].state != State::Queued) ++next_;
    if (next_ == entries_.size()) return;
    decode(entries_[next_++], lock);
  }
}

std::optional<PictureRead> PicturePrefetch::handOut(Entry& entry) {
  entry.handedOut = true;
  if (entry.request.kept) return entry.read;
  entry.state = State::Taken;
  return std::exchange(entry.read, PictureRead{});
}

std::optional<PictureRead> PicturePrefetch::take(const std::string& file, RowOrder order, bool mirrored) {
  std::unique_lock<std::mutex> lock(mutex_);
  const auto asked = [&](const Entry& e) {
    return e.state != State::Taken && e.request.order == order && e.request.mirrored == mirrored &&
           e.request.file == file;
  };
  const auto found = std::find_if(entries_.begin(), entries_.end(), asked);
  if (found == entries_.end()) return std::nullopt;
  Entry& entry = *found;
  decoded_.wait(lock, [&] { return entry.state != State::Decoding; });
  // No worker has got to it: waiting would only queue behind them.
  if (entry.state == State::Queued) decode(entry, lock);
  return handOut(entry);
}

std::size_t PicturePrefetch::untaken() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return std::size_t(std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return !e.handedOut; }));
}

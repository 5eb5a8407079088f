#include "creation/UPieceWorkers.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace qj {

namespace {

class TPieceQueue {
 public:
  TPieceQueue(size_t count, size_t inFlight) : FCount(count), FInFlight(inFlight) {}

  // Helper threads: take released pieces until there are none left or the work stops.
  void HelperLoop(const std::function<void(size_t)>& cut) {
    std::unique_lock lock(FMutex);
    for (;;) {
      FChanged.wait(lock, [&] { return FStop || FClaimed < FReleased || FClaimed == FCount; });
      if (FStop || FClaimed == FCount) return;
      Work(lock, FClaimed++, cut);
    }
  }

  // This thread: report pieces ahead while few are in flight, otherwise cut one itself.
  void MainLoop(const std::function<void(size_t)>& report, const std::function<void(size_t)>& cut) {
    std::unique_lock lock(FMutex);
    while (FFinished < FCount && !FError) {
      if (FReleased < FCount && FReleased - FFinished < FInFlight) {
        const size_t k = FReleased;
        lock.unlock();
        try {
          report(k);
        } catch (...) {
          lock.lock();
          FError = std::current_exception();
          break;
        }
        lock.lock();
        ++FReleased;
        FChanged.notify_all();
      } else if (FClaimed < FReleased) {
        Work(lock, FClaimed++, cut);
      } else {
        const size_t finished = FFinished;
        FChanged.wait(lock, [&] { return FFinished != finished || FError; });
      }
    }
    FStop = true;
    FChanged.notify_all();
  }

  void Rethrow() const {
    if (FError) std::rethrow_exception(FError);
  }

 private:
  void Work(std::unique_lock<std::mutex>& lock, size_t k, const std::function<void(size_t)>& cut) {
    lock.unlock();
    std::exception_ptr error;
    try {
      cut(k);
    } catch (...) {
      error = std::current_exception();
    }
    lock.lock();
    if (error && !FError) FError = error;
    if (error) FStop = true;
    ++FFinished;
    FChanged.notify_all();
  }

  std::mutex FMutex;
  std::condition_variable FChanged;
  const size_t FCount, FInFlight;
  size_t FReleased = 0, FClaimed = 0, FFinished = 0;
  bool FStop = false;
  std::exception_ptr FError;
};

}  // namespace

void RunPieceWork(size_t count, const std::function<void(size_t)>& report,
                  const std::function<void(size_t)>& cut, unsigned threads) {
  if (threads == 0) threads = std::max(1u, std::min(std::thread::hardware_concurrency(), 8u));
  if (threads == 1 || count < 2) {
    for (size_t k = 0; k < count; ++k) {
      report(k);
      cut(k);
    }
    return;
  }
  TPieceQueue queue(count, threads);
  std::vector<std::thread> helpers;
  for (unsigned t = 1; t < threads; ++t) helpers.emplace_back([&] { queue.HelperLoop(cut); });
  queue.MainLoop(report, cut);
  for (std::thread& t : helpers) t.join();
  queue.Rethrow();
}

}  // namespace qj

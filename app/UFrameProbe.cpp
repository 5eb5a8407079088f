#include "app/UFrameProbe.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

namespace qj {
namespace {

const std::atomic<uint64_t>* Frames = nullptr;
char CountFile[4096];

// Runs in the signal handler: only calls that are safe there.
void WriteFrameCount(int) {
  const int fd = open(CountFile, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return;
  char text[24];
  int at = sizeof text;
  text[--at] = '\n';
  uint64_t n = Frames->load(std::memory_order_relaxed);
  do {
    text[--at] = char('0' + n % 10);
    n /= 10;
  } while (n != 0);
  (void)!write(fd, text + at, sizeof text - size_t(at));
  close(fd);
}

}  // namespace

void WatchFrameCount(const std::atomic<uint64_t>& frames) {
  const char* file = std::getenv("QJ_FRAME_COUNT_FILE");
  if (!file || !*file || std::strlen(file) >= sizeof CountFile) return;
  std::strcpy(CountFile, file);
  Frames = &frames;
  struct sigaction action {};
  action.sa_handler = WriteFrameCount;
  action.sa_flags = SA_RESTART;
  sigemptyset(&action.sa_mask);
  sigaction(SIGUSR1, &action, nullptr);
}

}  // namespace qj

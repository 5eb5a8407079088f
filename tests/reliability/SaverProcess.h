// The saving game (qj-save-loop) as a child process whose output is read line by line while it
// runs, so that it can be killed between any two of its lines or in the middle of one.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

namespace qj::test {

// One line of the saving game: "saving g=7 digest=..." and the like.
struct TSaverLine {
  std::string What;  // loaded, saving or saved
  int Round = -1;
  std::string Digest;
};

class TSaverProcess {
 public:
  using TClock = std::chrono::steady_clock;

  // Starts QJ_PROGRAM_DIR/qj-save-loop with these arguments; its errors go to ours.
  explicit TSaverProcess(const std::vector<std::string>& args);
  ~TSaverProcess();
  TSaverProcess(const TSaverProcess&) = delete;
  TSaverProcess& operator=(const TSaverProcess&) = delete;

  bool Started() const { return FPid > 0; }
  // The next whole line; false when the deadline passed first or the output ended.
  bool NextLine(TSaverLine& line, TClock::time_point deadline);
  // SIGKILL, and the child reaped.
  void Kill();
  // Waits for the end; the exit code, or -1 when it did not exit by itself.
  int Wait();

 private:
  bool TakeLine(TSaverLine& line);

  pid_t FPid = -1;
  int FOutput = -1;
  std::string FBuffer;
};

}  // namespace qj::test

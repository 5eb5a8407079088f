// The saving game started with posix_spawn, its standard output on a pipe read with poll.
#include "tests/reliability/SaverProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>

extern char** environ;

namespace qj::test {

TSaverProcess::TSaverProcess(const std::vector<std::string>& args) {
  const std::string program = std::string(QJ_PROGRAM_DIR) + "/qj-save-loop";
  std::vector<char*> argv{const_cast<char*>(program.c_str())};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  int pipe[2];
  if (pipe2(pipe, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
  if (posix_spawn(&FPid, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) FPid = -1;
  posix_spawn_file_actions_destroy(&actions);
  close(pipe[1]);
  FOutput = pipe[0];
}

TSaverProcess::~TSaverProcess() {
  if (FPid > 0) Kill();
  if (FOutput >= 0) close(FOutput);
}

bool TSaverProcess::TakeLine(TSaverLine& line) {
  const size_t end = FBuffer.find('\n');
  if (end == std::string::npos) return false;
  std::istringstream in(FBuffer.substr(0, end));
  FBuffer.erase(0, end + 1);
  line = {};
  std::string round, digest;
  in >> line.What >> round >> digest;
  if (round.rfind("g=", 0) == 0) line.Round = std::atoi(round.c_str() + 2);
  if (digest.rfind("digest=", 0) == 0) line.Digest = digest.substr(7);
  return true;
}

bool TSaverProcess::NextLine(TSaverLine& line, TClock::time_point deadline) {
  while (!TakeLine(line)) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    pollfd p{FOutput, POLLIN, 0};
    const int ready = poll(&p, 1, int(std::max<int64_t>(left, 0)));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) return false;
    char chunk[512];
    const ssize_t n = read(FOutput, chunk, sizeof chunk);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    FBuffer.append(chunk, size_t(n));
  }
  return true;
}

void TSaverProcess::Kill() {
  if (FPid <= 0) return;
  kill(FPid, SIGKILL);
  (void)Wait();
}

int TSaverProcess::Wait() {
  if (FPid <= 0) return -1;
  int status = 0;
  while (waitpid(FPid, &status, 0) < 0 && errno == EINTR) {
  }
  FPid = -1;
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace qj::test

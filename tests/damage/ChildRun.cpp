#include "tests/damage/ChildRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <exception>

namespace qj::test {
namespace {

[[noreturn]] void RunBody(const std::function<void()>& body, int out, unsigned seconds) {
  dup2(out, STDOUT_FILENO);
  dup2(out, STDERR_FILENO);
  close(out);
  alarm(seconds);
  int status = 0;
  try {
    body();
  } catch (const std::exception& e) {
    std::printf("exception: %s\n", e.what());
    status = 3;
  }
  std::fflush(stdout);
  std::fflush(stderr);
  // No exit handlers: they belong to the test program, not to this child.
  _exit(status);
}

std::string ReadAll(int fd) {
  std::string text;
  char buffer[4096];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) != 0;) {
    if (n > 0) text.append(buffer, size_t(n));
    else if (errno != EINTR) break;
  }
  return text;
}

}  // namespace

TChildResult RunInChild(const std::function<void()>& body, unsigned seconds) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return {false, "no pipe", ""};
  std::fflush(stdout);
  std::fflush(stderr);
  const pid_t child = fork();
  if (child < 0) {
    close(pipeEnds[0]);
    close(pipeEnds[1]);
    return {false, "no fork", ""};
  }
  if (child == 0) {
    close(pipeEnds[0]);
    RunBody(body, pipeEnds[1], seconds);
  }
  close(pipeEnds[1]);
  TChildResult result;
  result.Output = ReadAll(pipeEnds[0]);
  close(pipeEnds[0]);
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (WIFEXITED(status)) {
    result.Finished = WEXITSTATUS(status) == 0;
    result.Outcome = "exit status " + std::to_string(WEXITSTATUS(status));
  } else if (WIFSIGNALED(status)) {
    result.Outcome = "signal " + std::to_string(WTERMSIG(status));
  }
  // UBSan reports and carries on unless told to halt: its report is a failure all the same.
  if (result.Output.find("runtime error: ") != std::string::npos) {
    result.Finished = false;
    result.Outcome += ", undefined behaviour";
  }
  return result;
}

}  // namespace qj::test

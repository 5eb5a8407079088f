// Runs part of the game in a forked child, so a crash or a hang fails that one case with what the
// child printed, and the test program goes on with the next.
#pragma once

#include <functional>
#include <string>

namespace qj::test {

struct TChildResult {
  bool Finished = false;  // the body returned, the child exited with status 0, no sanitizer spoke
  std::string Outcome;    // "exit status N", "signal N" when it did not
  std::string Output;     // what the child printed: its report lines and its stderr
};

// The body's stdout and stderr both go to Output. A body still running after `seconds` is
// killed and reported as signal 14 (SIGALRM).
TChildResult RunInChild(const std::function<void()>& body, unsigned seconds = 30);

}  // namespace qj::test

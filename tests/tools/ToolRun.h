// Runs one of the command-line tools of the build as a user does and keeps what it printed.
#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <vector>

namespace qj::test {

struct TRun {
  int ExitCode = -1;
  std::string Output;  // standard output only
};

inline TRun RunTool(const std::string& tool, const std::vector<std::string>& args) {
  std::string command = std::string(QJ_PROGRAM_DIR) + "/" + tool;
  for (const std::string& a : args) command += " '" + a + "'";
  command += " 2>/dev/null";
  TRun run;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[256];
  while (std::fgets(buffer, sizeof(buffer), pipe)) run.Output += buffer;
  const int status = pclose(pipe);
  if (WIFEXITED(status)) run.ExitCode = WEXITSTATUS(status);
  return run;
}

}  // namespace qj::test

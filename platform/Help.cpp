#include "platform/Help.h"

#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <sstream>

#include "platform/Paths.h"

extern char** environ;

namespace qj {

std::string HelpTopicPath(int topic) {
  const std::string page = DataPath("help/topic-" + std::to_string(topic) + ".html");
  return FileExists(page) ? page : DataPath("help/index.html");
}

bool BrowserAvailable() {
  const char* path = std::getenv("PATH");
  std::istringstream folders(path ? path : "");
  for (std::string folder; std::getline(folders, folder, ':');)
    if (!folder.empty() && access((folder + "/xdg-open").c_str(), X_OK) == 0) return true;
  return false;
}

bool OpenHelpTopic(int topic) {
  // The opener runs on its own; its exit is not waited for, so let the system reap it.
  std::signal(SIGCHLD, SIG_IGN);
  const std::string url = "file://" + HelpTopicPath(topic);
  char opener[] = "xdg-open";
  char* argv[] = {opener, const_cast<char*>(url.c_str()), nullptr};
  pid_t pid = 0;
  return posix_spawnp(&pid, opener, nullptr, nullptr, argv, environ) == 0;
}

}  // namespace qj

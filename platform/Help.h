// The help's pages: one local HTML page per topic, shown by the game or in the desktop's browser.
#pragma once

#include <string>

namespace qj {

// ProgramFolder()/help/topic-<N>.html (index.html when that page is missing).
std::string HelpTopicPath(int topic);
// Whether the desktop's opener (xdg-open) is on the PATH, so that a browser can be asked.
bool BrowserAvailable();
// Starts the desktop's opener on the page without waiting for it; false when it cannot start.
bool OpenHelpTopic(int topic);

}  // namespace qj

// The help: one local HTML page per topic, opened in the desktop's browser.
#pragma once

#include <string>

namespace qj {

// ProgramFolder()/help/topic-<N>.html (index.html when that page is missing).
std::string HelpTopicPath(int topic);
// Starts the desktop's opener on the page without waiting for it; false when it cannot start.
bool OpenHelpTopic(int topic);

}  // namespace qj

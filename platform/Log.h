// The one way the game reports trouble: a line on stderr that starts with the program's name.
#pragma once

namespace qj {

// printf-style; the prefix "quorvane-jigsaw: " and the line end are added. The line is written in
// one piece, so reports from several threads never run into each other.
void LogError(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace qj

// Reports on stderr.
#include "platform/Log.h"

#include <cstdarg>
#include <cstdio>
#include <string>

namespace qj {
namespace {

constexpr char kProgram[] = "quorvane-jigsaw";

std::string Formatted(const char* format, va_list args) {
  va_list again;
  va_copy(again, args);
  const int length = std::vsnprintf(nullptr, 0, format, args);
  std::string text;
  if (length > 0) {
    text.resize(size_t(length));
    std::vsnprintf(text.data(), text.size() + 1, format, again);
  }
  va_end(again);
  return text;
}

}  // namespace

void LogError(const char* format, ...) {
  va_list args;
  va_start(args, format);
  const std::string text = Formatted(format, args);
  va_end(args);
  std::fprintf(stderr, "%s: %s\n", kProgram, text.c_str());
}

}  // namespace qj

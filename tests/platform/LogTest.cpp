// Reports on stderr: the program's name first, one whole line each.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/Log.h"

namespace qj {
namespace {

TEST(Log, LogErrorWritesOneLineWithTheProgramName) {
  const std::string longText(5000, 'x');
  const struct {
    std::function<void()> Report;
    std::string Line;
  } cases[] = {
      {[] { LogError("unknown error"); }, "quorvane-jigsaw: unknown error\n"},
      {[] { LogError("%d sprite(s) left behind", 3); }, "quorvane-jigsaw: 3 sprite(s) left behind\n"},
      {[] { LogError("%s: %s", "Title", "text"); }, "quorvane-jigsaw: Title: text\n"},
      {[] { LogError("%s", ""); }, "quorvane-jigsaw: \n"},
      {[&] { LogError("%s", longText.c_str()); }, "quorvane-jigsaw: " + longText + "\n"},
  };
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    c.Report();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.Line);
  }
}

}  // namespace
}  // namespace qj

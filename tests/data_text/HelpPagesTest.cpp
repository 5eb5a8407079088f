// The help pages behind F1: one page per topic the screens open, all reachable from the index.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Paths.h"

namespace qj {
namespace {

// Topic numbers the screens open with F1.
constexpr int kHelpTopics[] = {
    1,   // puzzle selector
    3,   // puzzle maker
    4,   // play screen, mouse over the table
    6,   // play screen, mouse over the menu bar
    9,   // options screen
    22,  // main menu
};

std::string ReadHelp(const std::string& name) {
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(ReadWholeFile(DataPath("help/" + name), bytes)) << name;
  return std::string(bytes.begin(), bytes.end());
}

std::string TopicPage(int topic) { return "topic-" + std::to_string(topic) + ".html"; }

std::vector<std::string> Links(const std::string& html) {
  std::vector<std::string> links;
  const std::string marker = "href=\"";
  for (size_t at = html.find(marker); at != std::string::npos; at = html.find(marker, at + 1)) {
    const size_t start = at + marker.size();
    links.push_back(html.substr(start, html.find('"', start) - start));
  }
  return links;
}

TEST(HelpPages, EveryTopicHasACompletePage) {
  for (int topic : kHelpTopics) {
    const std::string html = ReadHelp(TopicPage(topic));
    EXPECT_EQ(html.rfind("<!DOCTYPE html>", 0), 0u) << topic;
    EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos) << topic;
    EXPECT_NE(html.find("<title>"), std::string::npos) << topic;
    EXPECT_NE(html.find("<h1>"), std::string::npos) << topic;
    EXPECT_NE(html.find("</html>"), std::string::npos) << topic;
  }
}

TEST(HelpPages, IndexLinksEveryTopic) {
  const std::string index = ReadHelp("index.html");
  for (int topic : kHelpTopics)
    EXPECT_NE(index.find("href=\"" + TopicPage(topic) + "\""), std::string::npos) << topic;
}

// The pages need nothing beyond the help folder: they share one style sheet there.
TEST(HelpPages, PagesNeedNothingOutsideTheHelpFolder) {
  const auto pages = ListFiles(DataPath("help"), "*.html");
  ASSERT_FALSE(pages.empty());
  for (const auto& page : pages) {
    const std::string html = ReadHelp(page);
    EXPECT_EQ(html.find("src="), std::string::npos) << page << " loads something from outside";
    EXPECT_NE(html.find("<link rel=\"stylesheet\" href=\"help.css\">"), std::string::npos) << page;
    for (const auto& link : Links(html)) {
      EXPECT_EQ(link.find_first_of(":/\\"), std::string::npos) << page << " links out: " << link;
      EXPECT_TRUE(FileExists(DataPath("help/" + link))) << page << " links to a missing " << link;
    }
  }
}

}  // namespace
}  // namespace qj

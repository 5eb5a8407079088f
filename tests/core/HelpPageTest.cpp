// The help pages' reader: the blocks and bold runs of a page, and any damaged input refused
// without a crash.
#include <gtest/gtest.h>

#include <string>

#include "core/UHelpPage.h"

namespace qj {
namespace {

TEST(HelpPage, HeadingsParagraphsListsAndTableRowsBecomeBlocks) {
  THelpPage page;
  std::string error;
  ASSERT_TRUE(ParseHelpPage("<html><head><title>Options - Quorvane Jigsaw</title><style>p{}</style></head><body>"
                            "<nav><a href='index.html'>Help contents</a></nav><h1>Options</h1>"
                            "<p>Press <kbd>F1</kbd>\n  for  help &amp; more.</p><ul><li>One</li></ul>"
                            "<table><tr><th>Key</th><th>Does</th></tr><tr><td>Esc</td><td></td><td>Back</td></tr></table>"
                            "</body></html>",
                            page, error))
      << error;
  EXPECT_EQ(page.Title, "Options");
  ASSERT_EQ(page.Blocks.size(), 4u);
  EXPECT_EQ(page.Blocks[0].Kind, ETextBlock::Heading);
  const std::vector<TTextRun>& runs = page.Blocks[1].Runs;
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].Text, "Press ");
  EXPECT_TRUE(runs[1].Bold);
  EXPECT_EQ(runs[2].Text, " for help & more.");
  EXPECT_EQ(page.Blocks[2].Kind, ETextBlock::ListItem);
  // The header row is left out; an empty cell adds no dash.
  ASSERT_EQ(page.Blocks[3].Runs.size(), 2u);
  EXPECT_EQ(page.Blocks[3].Runs[0].Text, "Esc");
  EXPECT_TRUE(page.Blocks[3].Runs[0].Bold);
  EXPECT_EQ(page.Blocks[3].Runs[1].Text, " \u2013 Back");
}

TEST(HelpPage, DamagedPagesAreRefusedWithACause) {
  const std::string cases[] = {
      "",
      "<html><body><p>Buttons <strong",
      "<html><body><!-- a comment never closed",
      "<html><head><title>Empty</title></head><body><nav>only links</nav></body></html>",
      std::string("<p>binary\0\x01\x02 data</p>", 22),
  };
  for (const std::string& html : cases) {
    THelpPage page;
    std::string error;
    EXPECT_FALSE(ParseHelpPage(html, page, error)) << html;
    EXPECT_FALSE(error.empty());
  }
}

// Every cut of a page either parses or is refused; none crashes or loops.
TEST(HelpPage, EveryTruncationOfAPageIsHandled) {
  const std::string html = "<html><body><h2>A &lt;b&gt; &#x263A; &bogus; &</h2><p><b>x</b></p><ul><li>y</ul></body>";
  for (size_t size = 0; size <= html.size(); ++size) {
    THelpPage page;
    std::string error;
    const bool read = ParseHelpPage(html.substr(0, size), page, error);
    EXPECT_TRUE(read || !error.empty()) << size;
  }
}

}  // namespace
}  // namespace qj

// Case and blanks as names and values are compared, and rectangles grown on every side.
#include <gtest/gtest.h>

#include "platform/Geometry.h"
#include "platform/TextUtil.h"

namespace qj {
namespace {

TEST(TextUtil, LowerAndUpperChangeAsciiLettersOnly) {
  const struct {
    std::string In, Lower, Upper;
  } cases[] = {
      {"", "", ""},
      {"Shape1.TXT", "shape1.txt", "SHAPE1.TXT"},
      {"[End ButtonOptions]", "[end buttonoptions]", "[END BUTTONOPTIONS]"},
      {"Größe Ä", "größe Ä", "GRößE Ä"},  // UTF-8 bytes are left alone
      {"@[`{", "@[`{", "@[`{"},           // the neighbours of the letters
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Lower(c.In), c.Lower) << c.In;
    EXPECT_EQ(Upper(c.In), c.Upper) << c.In;
  }
  EXPECT_EQ(Lower('Q'), 'q');
  EXPECT_EQ(Lower('?'), '?');
}

TEST(TextUtil, TrimDropsSpacesAndTabsAtBothEnds) {
  const struct {
    std::string In, Out;
  } cases[] = {
      {"", ""},
      {" \t ", ""},
      {"  60  ", "60"},
      {"\tKey = Value\t", "Key = Value"},
      {"a  b", "a  b"},
      {"x\r", "x\r"},  // other control characters stay
      {"\v7\f", "\v7\f"},
      {std::string(" a\0b ", 5), std::string("a\0b", 3)},
  };
  for (const auto& c : cases) EXPECT_EQ(Trim(c.In), c.Out) << '"' << c.In << '"';
}

TEST(TextUtil, SameNameIgnoresAsciiCaseOnly) {
  const struct {
    std::string A, B;
    bool Same;
  } cases[] = {
      {"", "", true},
      {"Jigsaw.stg", "JIGSAW.STG", true},
      {"[buttonoptions]", "[ButtonOptions]", true},
      {"MaxFPS", "MaxFPS ", false},
      {"a", "ab", false},
      {std::string("a\0b", 3), "a", false},  // the whole length counts
      {"Ä", "ä", false},
      {"@", "`", false},
  };
  for (const auto& c : cases) EXPECT_EQ(SameName(c.A, c.B), c.Same) << c.A << " / " << c.B;
}

TEST(Geometry, InflateMovesEverySide) {
  const struct {
    TRect In;
    int By;
    TRect Out;
  } cases[] = {
      {{10, 20, 30, 40}, 0, {10, 20, 30, 40}},
      {{10, 20, 30, 40}, 2, {8, 18, 32, 42}},
      {{10, 20, 30, 40}, -3, {13, 23, 27, 37}},
      {{0, 0, 0, 0}, 1, {-1, -1, 1, 1}},
  };
  for (const auto& c : cases) EXPECT_EQ(Inflate(c.In, c.By), c.Out) << c.By;
}

}  // namespace
}  // namespace qj

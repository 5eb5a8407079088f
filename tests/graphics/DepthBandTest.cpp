// Depth bands: depths are handed out one by one; a full band is renumbered in drawing order and
// never hands out a depth above its top.
#include <gtest/gtest.h>

#include <vector>

#include "graphics/UDepthBand.h"
#include "graphics/UGraphicsEngine.h"
#include "platform/headless/HeadlessDisplay.h"

namespace qj {
namespace {

class DepthBand : public ::testing::Test {
 protected:
  // A field of every live sprite, in drawing order.
  template <class TField>
  std::vector<TField> Drawn(TField TMySprite::*field) {
    Engine.SortSprites();
    std::vector<TField> values;
    for (const int index : Engine.Order())
      if (Engine.Sprite(index).Id != 0) values.push_back(Engine.Sprite(index).*field);
    return values;
  }
  std::vector<double> DrawnDepths() { return Drawn(&TMySprite::Depth); }
  // X is used as the sprite's name.
  std::vector<int> DrawnNames() { return Drawn(&TMySprite::X); }

  THeadlessDisplay Display;
  TGraphicsEngine Engine{Display};
};

TEST_F(DepthBand, HandsOutWholeDepthsFromTheBottom) {
  EXPECT_EQ(NextDepthInBand(&Engine, 130000, 139990, 130000), 130001);
  EXPECT_EQ(NextDepthInBand(&Engine, 130000, 139990, 130001), 130002);
}

TEST_F(DepthBand, AFullBandIsRenumberedInDrawingOrder) {
  double last = 100;
  std::vector<int> sprites;
  for (int i = 0; i < 10; ++i) {
    last = NextDepthInBand(&Engine, 100, 110, last);
    sprites.push_back(Engine.AddEmptySprite(i, 0, last, 0));
  }
  ASSERT_EQ(last, 110);
  const int below = Engine.AddEmptySprite(-1, 0, 50, 0);
  const int above = Engine.AddEmptySprite(99, 0, 111, 0);
  for (int i = 0; i < 10; i += 2) Engine.FreeSprite(sprites[size_t(i)]);
  // Raise sprite 3 to the top of the band: the same depth as sprite 9, drawn in whichever order
  // the sort puts them.
  Engine.SetSpriteDepth(sprites[3], 110);
  const std::vector<int> order = DrawnNames();
  ASSERT_EQ(order.size(), 7u);

  last = NextDepthInBand(&Engine, 100, 110, last);
  EXPECT_EQ(last, 106) << "the five left take 101 to 105";
  EXPECT_EQ(DrawnDepths(), (std::vector<double>{50, 101, 102, 103, 104, 105, 111}));
  EXPECT_EQ(DrawnNames(), order);
  EXPECT_EQ(order[4] + order[5], 12) << "3 and 9 at the top of the band";
  EXPECT_EQ(Engine.Sprite(below).Depth, 50);
  EXPECT_EQ(Engine.Sprite(above).Depth, 111);
}

TEST_F(DepthBand, ACrowdedBandSqueezesItsSpritesAndNeverSpills) {
  double last = 0;
  for (int i = 0; i < 40; ++i) {
    last = NextDepthInBand(&Engine, 0, 8, last);
    Engine.AddEmptySprite(i, 0, last, 0);
    ASSERT_LE(last, 8) << "sprite " << i;
  }
  std::vector<int> expected(40);
  for (int i = 0; i < 40; ++i) expected[size_t(i)] = i;
  EXPECT_EQ(DrawnNames(), expected) << "the order of making is kept";
  const std::vector<double> depths = DrawnDepths();
  for (size_t i = 1; i < depths.size(); ++i) EXPECT_LT(depths[i - 1], depths[i]);
}

TEST_F(DepthBand, WithoutAnEngineTheTopIsApproachedButNotPassed) {
  double last = 9;
  for (int i = 0; i < 5; ++i) {
    last = NextDepthInBand(nullptr, 0, 10, last);
    EXPECT_LE(last, 10);
  }
}

}  // namespace
}  // namespace qj

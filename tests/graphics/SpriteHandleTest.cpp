// Sprite handles: a sprite kept by a handle is freed with it, and a handle whose sprite has gone
// reaches nothing, even when its slot holds somebody else's sprite by now.
#include <gtest/gtest.h>

#include <utility>

#include "graphics/UGraphicsEngine.h"
#include "graphics/USpriteHandle.h"
#include "platform/headless/HeadlessDisplay.h"

namespace qj {
namespace {

class SpriteHandle : public ::testing::Test {
 protected:
  int NewSprite(int x = 0) { return Engine.AddEmptySprite(x, 0, 1, 0); }

  THeadlessDisplay Display;
  TGraphicsEngine Engine{Display};
};

TEST_F(SpriteHandle, FreesItsSpriteWhenItGoes) {
  int index = -1;
  {
    TSpriteHandle handle(Engine, NewSprite(7));
    index = handle.Index();
    ASSERT_NE(handle.Get(), nullptr);
    EXPECT_EQ(handle.Get()->X, 7);
    EXPECT_EQ(Engine.LiveSpriteCount(), 1);
  }
  EXPECT_EQ(Engine.LiveSpriteCount(), 0);
  EXPECT_EQ(Engine.Sprite(index).Id, 0);
}

TEST_F(SpriteHandle, AStaleHandleNeitherReachesNorFreesTheSlotsNewSprite) {
  TSpriteHandle old(Engine, NewSprite(1));
  const int slot = old.Index();
  Engine.FreeAllSprites();
  const int reused = NewSprite(2);
  ASSERT_EQ(reused, slot) << "the slot is reused";
  const int staleBefore = Engine.StaleHandleUses();
  EXPECT_EQ(old.Get(), nullptr);
  EXPECT_EQ(old.Index(), -1);
  EXPECT_FALSE(old.Is(reused));
  EXPECT_GT(Engine.StaleHandleUses(), staleBefore) << "the refused use is counted";
  old.Reset();
  EXPECT_NE(Engine.Sprite(reused).Id, 0) << "the new owner's sprite lives on";
  EXPECT_EQ(Engine.Sprite(reused).X, 2);
}

TEST_F(SpriteHandle, TrimmedSlotsKeepTheirGeneration) {
  TSpriteHandle handle(Engine, NewSprite());
  const int slot = handle.Index();
  Engine.FreeSprite(slot);
  Engine.TrimSprites();
  ASSERT_EQ(Engine.SpriteCount(), 0);
  ASSERT_EQ(NewSprite(), slot);
  EXPECT_EQ(handle.Get(), nullptr);
}

TEST_F(SpriteHandle, MovingPassesTheSpriteOnAndAssignmentFreesTheOldOne) {
  TSpriteHandle first(Engine, NewSprite(1));
  TSpriteHandle second(Engine, NewSprite(2));
  const int firstIndex = first.Index();
  TSpriteHandle moved(std::move(first));
  EXPECT_EQ(first.Get(), nullptr);
  EXPECT_EQ(moved.Index(), firstIndex);
  moved = std::move(second);
  EXPECT_EQ(Engine.Sprite(firstIndex).Id, 0) << "the sprite it held before is freed";
  EXPECT_EQ(moved.Get()->X, 2);
  EXPECT_EQ(Engine.LiveSpriteCount(), 1);
}

TEST_F(SpriteHandle, OnlyALiveSpriteCanBeTakenOver) {
  const int index = NewSprite();
  Engine.FreeSprite(index);
  EXPECT_THROW(TSpriteHandle(Engine, index), std::out_of_range);
  EXPECT_THROW(TSpriteHandle(Engine, 99), std::out_of_range);
  EXPECT_FALSE(TSpriteHandle().Is(-1)) << "an empty handle is no sprite, not even 'none'";
}

}  // namespace
}  // namespace qj

#include "graphics/USpriteHandle.h"

#include <stdexcept>
#include <utility>

#include "graphics/UGraphicsEngine.h"

namespace qj {

TSpriteHandle::TSpriteHandle(TGraphicsEngine& engine, int index)
    : FEngine(&engine), FIndex(index), FGeneration(engine.Generation(index)) {
  if (!engine.Find(index, FGeneration)) throw std::out_of_range("no live sprite " + std::to_string(index));
}

TSpriteHandle::TSpriteHandle(TSpriteHandle&& other) noexcept
    : FEngine(std::exchange(other.FEngine, nullptr)),
      FIndex(std::exchange(other.FIndex, -1)),
      FGeneration(std::exchange(other.FGeneration, 0)) {}

TSpriteHandle& TSpriteHandle::operator=(TSpriteHandle&& other) noexcept {
  if (this != &other) {
    Reset();
    FEngine = std::exchange(other.FEngine, nullptr);
    FIndex = std::exchange(other.FIndex, -1);
    FGeneration = std::exchange(other.FGeneration, 0);
  }
  return *this;
}

TMySprite* TSpriteHandle::Get() const {
  if (!FEngine) return nullptr;
  TMySprite* sprite = FEngine->Find(FIndex, FGeneration);
  if (!sprite) FEngine->CountStaleHandleUse();
  return sprite;
}

int TSpriteHandle::Index() const { return Get() ? FIndex : -1; }

void TSpriteHandle::Reset() {
  if (FEngine && FEngine->Find(FIndex, FGeneration)) FEngine->FreeSprite(FIndex);
  FEngine = nullptr;
  FIndex = -1;
  FGeneration = 0;
}

}  // namespace qj

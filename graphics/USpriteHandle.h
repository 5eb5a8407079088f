// A checked claim on one sprite: the slot index plus the generation the slot had when the
// sprite was made. Slots are reused, so a bare index kept past a FreeSprite can reach somebody
// else's sprite; a handle whose sprite has gone answers null instead and is never drawn or moved.
#pragma once

#include <cstdint>

namespace qj {

class TGraphicsEngine;
class TMySprite;

class TSpriteHandle {
 public:
  TSpriteHandle() = default;
  // Takes over the live sprite at index; the sprite is freed with the handle.
  TSpriteHandle(TGraphicsEngine& engine, int index);
  ~TSpriteHandle() { Reset(); }
  TSpriteHandle(TSpriteHandle&& other) noexcept;
  TSpriteHandle& operator=(TSpriteHandle&& other) noexcept;
  TSpriteHandle(const TSpriteHandle&) = delete;
  TSpriteHandle& operator=(const TSpriteHandle&) = delete;

  // The sprite, or null when the handle is empty or its sprite was freed behind its back
  // (a use the engine counts as refused).
  TMySprite* Get() const;
  explicit operator bool() const { return Get() != nullptr; }
  // The sprite's index in the engine, -1 when there is none.
  int Index() const;
  // True when index is this handle's live sprite; never for -1.
  bool Is(int index) const { return index >= 0 && Index() == index; }
  // Frees the sprite (when it is still ours) and empties the handle.
  void Reset();

 private:
  TGraphicsEngine* FEngine = nullptr;
  int FIndex = -1;
  uint32_t FGeneration = 0;
};

}  // namespace qj
